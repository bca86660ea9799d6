#pragma once
// The question of the header's close button: run on in the background, or end the program.

class QWidget;

namespace ClosePrompt {

enum Answer { Stay, InBackground, Quit };

// Asks, and for "in the background" hides the window (only minimises it when the desktop has no
// tray, where nothing could bring a hidden window back).
Answer ask(QWidget& window);

} // namespace ClosePrompt
