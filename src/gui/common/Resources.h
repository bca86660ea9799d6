#pragma once
// The images are compiled into the gui library, which is static: the program must pull them in.

void initKorvexResources();
