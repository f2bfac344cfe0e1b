#pragma once

#include <QFutureWatcher>
#include <QImage>
#include <QString>
#include <QWidget>

namespace zel {

// A picture file shown in a frame. The file is read off the window's thread, so a large
// picture never blocks the window; a file that cannot be read beeps and shows nothing.
class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent = nullptr);
    ~PictureView() override;

    // Starts reading the file; an empty path clears the view.
    void setFile(const QString& path);
    QString file() const { return m_file; }
    bool isLoading() const { return m_watcher.isRunning(); }
    bool hasPicture() const { return !m_image.isNull(); }
    QImage image() const { return m_image; }

    // "Proporzionale": the picture keeps its proportions. "Adattato": it is fitted to
    // the frame, enlarged if need be; otherwise only a larger picture is shrunk.
    void setProportional(bool on);
    void setStretched(bool on);
    bool proportional() const { return m_proportional; }
    bool stretched() const { return m_stretched; }
    // Where the picture is drawn inside the frame.
    QRect pictureRect() const;

    QSize sizeHint() const override { return {160, 120}; }

Q_SIGNALS:
    void clicked();
    void doubleClicked();
    // The file was read (ok) or could not be read.
    void loaded(bool ok);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    QString m_file;
    QImage m_image;
    bool m_proportional = true;
    bool m_stretched = true;
    QFutureWatcher<QImage> m_watcher;
};

}  // namespace zel
