#pragma once

#include <QObject>

#include <functional>

class QDragEnterEvent;
class QDragLeaveEvent;
class QDragMoveEvent;
class QDropEvent;
class QWidget;
class TStringList;

/// Takes files dropped onto one window: appends their names to a list that
/// the caller owns and then calls the caller back. Registration makes the
/// window the target's owner; revoking it frees the target.
class TMyDropTarget : public QObject {
    Q_OBJECT

public:
    explicit TMyDropTarget(TStringList* Files, QObject* parent = nullptr);

    /// Called once after a drop that delivered at least one name; may be empty.
    std::function<void(TMyDropTarget& Sender)> OnFilesDropped;
    /// Receives the dropped names; never freed or emptied here.
    TStringList* Files;

    /// Leaves the effect as the source offered it.
    void DragEnter(QDragEnterEvent& event);
    /// Copy when the source offers copying, no effect otherwise.
    void DragOver(QDragMoveEvent& event);
    void DragLeave(QDragLeaveEvent& event);
    /// Appends the local file names of the drop, in order, inside one update
    /// bracket; data that carries no file list is ignored.
    void Drop(QDropEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

/// Makes `Window` accept drops into `Files`, calling `Callback` after each
/// drop that delivered names. None when the window is missing or already
/// registered: the window then simply accepts no more drops than before.
TMyDropTarget* RegisterDropTarget(QWidget* Window, TStringList* Files,
                                  std::function<void(TMyDropTarget& Sender)> Callback);

/// Ends the window's registration and frees its drop target; true when the
/// window had one.
bool RevokeDropTarget(QWidget* Window);
