#include "gui/filelist/CGifButton.h"

#include <QMouseEvent>
#include <QMovie>
#include <QPixmap>

CGifButton::CGifButton(QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    setAlignment(Qt::AlignCenter);
}

CGifButton::CGifButton(const QString& name, const QString& imagePath, QWidget* parent)
    : CGifButton(parent)
{
    setObjectName(name);
    setImage(imagePath);
}

void CGifButton::setImage(const QString& imagePath)
{
    m_imagePath = imagePath;
    if (m_movie) {
        setMovie(nullptr);
        delete m_movie;
        m_movie = nullptr;
    }
    clear();
    if (imagePath.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive)) {
        auto* movie = new QMovie(imagePath, QByteArray(), this);
        if (movie->isValid()) {
            m_movie = movie;
            setMovie(movie);
            movie->start();
            return;
        }
        delete movie;
    }
    const QPixmap pixmap(imagePath);
    if (!pixmap.isNull())
        setPixmap(pixmap);
}

void CGifButton::mousePressEvent(QMouseEvent* event)
{
    // Taken, so that the release comes here too.
    if (event->button() == Qt::LeftButton) {
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}

void CGifButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}
