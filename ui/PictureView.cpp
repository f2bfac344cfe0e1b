#include "ui/PictureView.h"

#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QPromise>
#include <QThreadPool>
#include <memory>

#include "ui/Dialogs.h"

namespace zel {

namespace {
// Larger pictures are reduced while read: a frame on the card never needs more.
constexpr int kMaxSide = 2048;

QImage readPicture(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxSide || size.height() > kMaxSide))
        reader.setScaledSize(size.scaled(kMaxSide, kMaxSide, Qt::KeepAspectRatio));
    return reader.read();
}
}  // namespace

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(48, 48);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(&m_watcher, &QFutureWatcher<QImage>::finished, this, [this] {
        const QFuture<QImage> f = m_watcher.future();
        m_image = f.resultCount() > 0 ? f.result() : QImage();
        if (m_image.isNull()) Dialogs::instance().beep();
        update();
        Q_EMIT loaded(!m_image.isNull());
    });
}

PictureView::~PictureView() {
    // The reader may still run; its result is simply dropped.
    m_watcher.disconnect(this);
}

void PictureView::setFile(const QString& path) {
    const QString file = path.trimmed();
    if (file == m_file && (hasPicture() || isLoading())) return;
    m_file = file;
    m_image = QImage();
    update();
    if (file.isEmpty()) {
        m_watcher.setFuture(QFuture<QImage>());
        return;
    }
    auto promise = std::make_shared<QPromise<QImage>>();
    m_watcher.setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([promise, file] {
        promise->addResult(readPicture(file));
        promise->finish();
    });
}

void PictureView::setProportional(bool on) {
    m_proportional = on;
    update();
}

void PictureView::setStretched(bool on) {
    m_stretched = on;
    update();
}

QRect PictureView::pictureRect() const {
    if (m_image.isNull()) return {};
    const QSize frame = contentsRect().size();
    QSize size = m_image.size();
    if (m_stretched)
        size = m_proportional ? size.scaled(frame, Qt::KeepAspectRatio) : frame;
    else if (m_proportional && (size.width() > frame.width() || size.height() > frame.height()))
        size = size.scaled(frame, Qt::KeepAspectRatio);
    QRect r(QPoint(), size);
    r.moveCenter(contentsRect().center());
    return r;
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    if (!m_image.isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.setClipRect(contentsRect());
        p.drawImage(pictureRect(), m_image);
    }
    p.setPen(palette().mid().color());
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void PictureView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) Q_EMIT clicked();
    QWidget::mouseReleaseEvent(e);
}

void PictureView::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) Q_EMIT doubleClicked();
    QWidget::mouseDoubleClickEvent(e);
}

}  // namespace zel
