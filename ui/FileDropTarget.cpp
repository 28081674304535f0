#include "FileDropTarget.h"

#include "QtUi.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

FileDropTarget::FileDropTarget(QWidget* window, DropHandler onDrop)
    : QObject(window), window_(window), onDrop_(std::move(onDrop)) {}

void FileDropTarget::Register() {
    window_->setAcceptDrops(true);
    window_->installEventFilter(this);
    for (QWidget* child : window_->findChildren<QWidget*>()) {
        if (child->window() != window_)
            continue; // a dialog or menu of the window is not part of it
        child->setAcceptDrops(true);
        child->installEventFilter(this);
    }
}

std::vector<std::string> FileDropTarget::LocalFiles(const QMimeData& data) {
    std::vector<std::string> paths;
    if (!data.hasUrls())
        return paths;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile())
            paths.push_back(FromQt(url.toLocalFile()));
    return paths;
}

bool FileDropTarget::Deliver(const QMimeData& data) {
    const std::vector<std::string> paths = LocalFiles(data);
    if (paths.empty())
        return false;
    onDrop_(paths);
    return true;
}

bool FileDropTarget::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (drag->mimeData() == nullptr || LocalFiles(*drag->mimeData()).empty())
            return false;
        if ((drag->possibleActions() & Qt::CopyAction) == 0) {
            drag->ignore();
            return true;
        }
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (drop->mimeData() == nullptr || LocalFiles(*drop->mimeData()).empty())
            return false;
        if ((drop->possibleActions() & Qt::CopyAction) == 0) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        Deliver(*drop->mimeData());
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
