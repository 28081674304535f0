// Files dragged from the desktop onto a window, its controls included. Only
// local files are taken, and only as a copy; the files themselves are not
// touched. At the drop the full paths are delivered, in the order the desktop
// gives them. Other drags (text, say) are left to the control under the mouse.
#pragma once

#include <QObject>

#include <functional>
#include <string>
#include <vector>

class QMimeData;
class QWidget;

class FileDropTarget : public QObject {
    Q_OBJECT

  public:
    using DropHandler = std::function<void(const std::vector<std::string>& paths)>;

    FileDropTarget(QWidget* window, DropHandler onDrop);

    // Starts taking drops on the window and every control it holds now.
    void Register();

    // The local files among the dragged data, in order; empty when there are none.
    static std::vector<std::string> LocalFiles(const QMimeData& data);
    // A drop of data: delivers its files when there are any. True when delivered.
    bool Deliver(const QMimeData& data);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* window_;
    DropHandler onDrop_;
};
