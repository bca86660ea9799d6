#include "gui/mainwnd/PaneSwitcher.h"

#include "core/app/Glossary.h"
#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/message/WindowMessages.h"
#include "gui/common/QtText.h"

#include <stdexcept>

namespace {

bool english()
{
    return Glossary::currentLanguage() == Glossary::ENGLSH;
}

} // namespace

void PaneSwitcher::switchTo(int category, int item)
{
    if (category != 0 && category != 1 && category != 3 && category != 4)
        throw std::logic_error("Not implemented online_converter");
    m_category = category;
    m_item = item;
    notify();
}

void PaneSwitcher::selectItem(int item)
{
    switchTo(m_category, item);
}

int PaneSwitcher::currentZone() const
{
    switch (m_category) {
    case 0:
        return m_item;
    case 1:
        return m_item + kFirstPdfZone;
    case 3:
        return 17;
    case 4:
        return 18;
    default:
        throw std::logic_error("Not implemented online_converter");
    }
}

int PaneSwitcher::zoneState(int zone) const
{
    const auto it = m_states.find(zone);
    return it == m_states.end() ? Empty : it->second;
}

void PaneSwitcher::setState(int zone, int state)
{
    m_states[zone] = state;
    notify();
}

void PaneSwitcher::notify()
{
    MessageSink::current().post(m_window, WindowMessages::WM_PANE_STATE_CHANGED,
                                reinterpret_cast<std::intptr_t>(this), nullptr);
}

PaneSwitcher::FileDialogSpec PaneSwitcher::fileDialogSpec() const
{
    if (!isPdfZone(currentZone()))
        return {};
    return {toQt(Glossary::text(TextId::SelectPdfFiles)), toQt(Glossary::text(TextId::PdfFilter))};
}

std::wstring PaneSwitcher::outputExtension() const
{
    return isPdfZone(currentZone()) ? L"pdf" : L"";
}

std::wstring PaneSwitcher::startWord(int zone)
{
    const WorkingZone::Info* words = WorkingZone::info(zone);
    if (!words)
        return Glossary::text(TextId::ConvertWord);
    return english() ? words->startEnglish : words->startChinese;
}

std::wstring PaneSwitcher::statusWord(int zone)
{
    const WorkingZone::Info* words = WorkingZone::info(zone);
    if (!words)
        return Glossary::text(TextId::ConversionWord);
    return english() ? words->statusEnglish : words->statusChinese;
}

std::wstring PaneSwitcher::continueWord(int zone)
{
    return english() ? Glossary::text(TextId::Continue) : startWord(zone);
}

QString PaneSwitcher::listName(int zone)
{
    const WorkingZone::Info* zoneInfo = WorkingZone::info(zone);
    return zoneInfo ? QString::fromWCharArray(zoneInfo->listName) : QString();
}
