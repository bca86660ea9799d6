#include "gui/mainwnd/ZoneView.h"

#include "ui_CMainWnd.h"

#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "gui/common/QtText.h"
#include "gui/mainwnd/PaneSwitcher.h"

#include <QAbstractButton>
#include <QListWidget>

ZoneView::ZoneView(Ui::CMainWnd& form, PaneSwitcher& switcher, QObject* parent)
    : QObject(parent), ui(form), m_switcher(switcher)
{
}

void ZoneView::connectChoice()
{
    for (QAbstractButton* button : {static_cast<QAbstractButton*>(ui.pdfconvertopt), static_cast<QAbstractButton*>(ui.pdfprocessingopt)}) {
        const int zone = button == ui.pdfconvertopt ? WorkingZone::Split : WorkingZone::Merge;
        connect(button, &QAbstractButton::toggled, this, [this, zone](bool checked) {
            if (!checked)
                return;
            // Split and merge have their own options: the list of every function goes again.
            ui.subchoicezone->hide();
            ui.subchoicezone->setCurrentIndex(PaneSwitcher::kPdfCategory);
            m_switcher.setSwitchedByUser(true);
            m_switcher.switchTo(PaneSwitcher::kPdfCategory, PaneSwitcher::pdfItem(zone));
        });
    }
    // The third option shows the list of all five functions, the current zone's selected; the
    // list then picks the zone.
    connect(ui.moretoolsopt, &QAbstractButton::toggled, this, [this](bool checked) {
        if (!checked)
            return;
        ui.subchoicezone->setCurrentIndex(PaneSwitcher::kPdfCategory);
        ui.subchoicezone->show();
        m_switcher.setSwitchedByUser(true);
        const int zone = m_switcher.currentZone();
        m_switcher.switchTo(PaneSwitcher::kPdfCategory, PaneSwitcher::pdfItem(PaneSwitcher::isPdfZone(zone) ? zone : WorkingZone::Split));
    });
    connect(ui.pdfprocessinglst, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && ui.pdfprocessinglst->property("function").isValid())
            m_switcher.selectItem(row);
    });
    m_switcher.switchTo(PaneSwitcher::kPdfCategory, PaneSwitcher::pdfItem(WorkingZone::Split));
    ui.pdfprocessinglst->setCurrentRow(PaneSwitcher::pdfItem(WorkingZone::Split));
}

void ZoneView::rebuild()
{
    const int zone = m_switcher.currentZone();
    const int state = m_switcher.zoneState(zone);
    if (m_switcher.switchedByUser())
        ui.switchpane->setCurrentIndex(0);
    ui.subchoicezone->setCurrentIndex(m_switcher.category());
    {
        const QSignalBlocker block1(ui.pdfconvertopt);
        const QSignalBlocker block2(ui.pdfprocessingopt);
        const QSignalBlocker block3(ui.moretoolsopt);
        const QSignalBlocker block4(ui.pdfprocessinglst);
        // While the list of functions is shown, its option stays chosen whatever zone it picked.
        const bool listShown = !ui.subchoicezone->isHidden();
        ui.pdfconvertopt->setChecked(!listShown && zone == WorkingZone::Split);
        ui.pdfprocessingopt->setChecked(!listShown && zone == WorkingZone::Merge);
        ui.moretoolsopt->setChecked(listShown);
        if (PaneSwitcher::isPdfZone(zone))
            ui.pdfprocessinglst->setCurrentRow(PaneSwitcher::pdfItem(zone));
    }
    if (state != PaneSwitcher::Empty) {
        ui.workingzone->setCurrentIndex(zone);
    } else {
        ui.workingzone->setCurrentIndex(ui.workingzone->count() - 1);
        ui.promptionLbl->setText(toQt(Glossary::text(TextId::DropFilesHere, PaneSwitcher::isPdfZone(zone) ? L"PDF" : L"")));
    }
    const QString continueText = toQt(Glossary::text(TextId::ContinueButton, PaneSwitcher::continueWord(zone)));
    const bool running = state == PaneSwitcher::Converting;
    ui.workingzoneattach->setVisible(state == PaneSwitcher::Ready);
    ui.continueConvHor->setVisible(running || state == PaneSwitcher::Finished);
    if (state == PaneSwitcher::Ready)
        ui.convertbtn->setText(toQt(Glossary::text(TextId::StartButton, PaneSwitcher::startWord(zone))));
    if (running)
        ui.continueConvBtn->show();
    if (running || state == PaneSwitcher::Finished) {
        ui.continueConvBtn->setEnabled(!running);
        ui.continueConvBtn->setText(continueText);
    }
    if (PaneSwitcher::isPdfZone(zone)) {
        ui.settingforp2wctrls->hide();
        ui.settingforocr->hide();
    }
}
