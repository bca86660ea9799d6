#include "gui/history/HistoryRowWidget.h"

#include "ui_HistoryRowWidget.h"

#include "core/common/Utils.h"
#include "gui/common/QtText.h"

#include <QEvent>

HistoryRowWidget::HistoryRowWidget(QWidget* parent)
    : ListRowWidget(parent), m_ui(std::make_unique<Ui::HistoryRowWidget>())
{
    m_ui->setupUi(this);
    m_ui->history_filenamelbl->setTextFormat(Qt::PlainText);
    styleAsLink(m_ui->history_opendirbtn);
    styleAsLink(m_ui->history_rmbtn, true);
    connect(m_ui->history_opendirbtn, &QToolButton::clicked, this,
            [this] { emit revealRequested(this); });
    connect(m_ui->history_rmbtn, &QToolButton::clicked, this,
            [this] { emit removeRequested(this); });
}

HistoryRowWidget::~HistoryRowWidget() = default;

void HistoryRowWidget::fill(const std::wstring& path)
{
    const QString qpath = toQt(path);
    setFilePathname(qpath);
    const QString name = fileNameOf(qpath);
    m_ui->history_filenamelbl->setText(name);
    m_ui->history_filenamelbl->setToolTip(name);
    setIcon(m_ui->history_fmt_ctrl, iconFor(path));
}

QString HistoryRowWidget::iconFor(const std::wstring& path)
{
    const QString ext = toQt(Utils::getFileExtension(path)).toLower();
    if (ext == QLatin1String("pdf") || ext == QLatin1String("zip"))
        return QStringLiteral(":/KorvexRes/16pdf.png");
    if (ext == QLatin1String("doc") || ext == QLatin1String("docx") || ext == QLatin1String("rtf"))
        return QStringLiteral(":/KorvexRes/16word.png");
    if (ext == QLatin1String("xls") || ext == QLatin1String("xlsx"))
        return QStringLiteral(":/KorvexRes/16xls.png");
    if (ext == QLatin1String("ppt") || ext == QLatin1String("pptx"))
        return QStringLiteral(":/KorvexRes/16ppt.png");
    if (ext == QLatin1String("txt"))
        return QStringLiteral(":/KorvexRes/16txt.png");
    return QStringLiteral(":/KorvexRes/16pic.png");
}

void HistoryRowWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        m_ui->retranslateUi(this);
    ListRowWidget::changeEvent(event);
}
