// A Qt plugin that tests load into the real desktop program (QT_QPA_GENERIC_PLUGINS) to stand
// in for the user: it confirms every message box that comes up and writes the text of each to
// the file named by KORVEX_CLICKER_LOG. A start-up notice (a QMessageBox) is only noted, and
// left open for the test to decide what happens while it is shown.

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QGenericPlugin>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

namespace {

class Clicker : public QObject {
public:
    Clicker()
    {
        m_timer.setInterval(50);
        connect(&m_timer, &QTimer::timeout, this, &Clicker::look);
        m_timer.start();
    }

private:
    void look()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_last)
            return;
        if (modal->objectName() == QLatin1String("msgwnd")) {
            m_last = modal;
            const auto* text = modal->findChild<QLabel*>(QStringLiteral("MsgText"));
            log(QStringLiteral("box: ") + (text ? text->text() : QString()));
            if (auto* confirm = modal->findChild<QAbstractButton*>(QStringLiteral("BtnConfirm")))
                QTimer::singleShot(0, confirm, &QAbstractButton::click);
        } else if (auto* notice = qobject_cast<QMessageBox*>(modal)) {
            m_last = modal;
            log(QStringLiteral("notice: ") + notice->text());
        }
    }

    static void log(const QString& line)
    {
        QFile file(qEnvironmentVariable("KORVEX_CLICKER_LOG"));
        if (file.open(QIODevice::Append))
            file.write(line.toUtf8().replace('\n', ' ') + '\n');
    }

    QTimer m_timer;
    QPointer<QWidget> m_last;
};

} // namespace

class ClickerPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "clicker.json")

public:
    QObject* create(const QString& key, const QString&) override
    {
        return key.compare(QLatin1String("korvexclicker"), Qt::CaseInsensitive) == 0 ? new Clicker : nullptr;
    }
};

#include "ClickerPlugin.moc"
