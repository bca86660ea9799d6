#include "gui/mainwnd/MergeModeBar.h"

#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "gui/common/QtText.h"

#include <QComboBox>
#include <QHBoxLayout>

namespace {

constexpr int kInOrder = 0;
constexpr int kAlternate = 1;

} // namespace

MergeModeBar::MergeModeBar(QWidget* parent) : QWidget(parent), m_mode(new QComboBox(this))
{
    setObjectName(QStringLiteral("mergemodebar"));
    m_mode->setObjectName(QStringLiteral("mergemodecombo"));
    m_mode->addItem(QString());
    m_mode->addItem(QString());
    m_mode->setCurrentIndex(kInOrder);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 6, 12, 6);
    layout->addWidget(m_mode);
    layout->addStretch();
    retranslate();
}

bool MergeModeBar::alternate() const
{
    return m_mode->currentIndex() == kAlternate;
}

void MergeModeBar::retranslate()
{
    m_mode->setItemText(kInOrder, toQt(Glossary::text(TextId::MergeInOrder)));
    m_mode->setItemText(kAlternate, toQt(Glossary::text(TextId::MergeAlternate)));
}
