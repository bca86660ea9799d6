#pragma once
// An image that acts as a button: a still picture, or an animated GIF that plays, and a
// clicked() signal when the left button is released over it.

#include <QLabel>
#include <QString>

class QMovie;

class CGifButton : public QLabel {
    Q_OBJECT
public:
    explicit CGifButton(QWidget* parent = nullptr);
    // name becomes the objectName ("addfilebtn", "adsbtn", ...).
    CGifButton(const QString& name, const QString& imagePath, QWidget* parent = nullptr);

    // A resource or file path; ".gif" plays as an animation. A missing image shows nothing.
    void setImage(const QString& imagePath);
    QString imagePath() const { return m_imagePath; }
    bool isAnimated() const { return m_movie != nullptr; }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_imagePath;
    QMovie* m_movie = nullptr;
};
