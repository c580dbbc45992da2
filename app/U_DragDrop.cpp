#include "U_DragDrop.h"

#include "string_list.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

TMyDropTarget* targetOf(QWidget* window)
{
    return window ? window->findChild<TMyDropTarget*>(QString(), Qt::FindDirectChildrenOnly)
                  : nullptr;
}

}  // namespace

TMyDropTarget::TMyDropTarget(TStringList* Files, QObject* parent) : QObject(parent), Files(Files)
{
}

void TMyDropTarget::DragEnter(QDragEnterEvent& event)
{
    // Accepted as offered; without it the toolkit sends no further moves.
    event.accept();
}

void TMyDropTarget::DragOver(QDragMoveEvent& event)
{
    if (event.possibleActions() & Qt::CopyAction) {
        event.setDropAction(Qt::CopyAction);
        event.accept();
        return;
    }
    event.setDropAction(Qt::IgnoreAction);
    event.ignore();
}

void TMyDropTarget::DragLeave(QDragLeaveEvent&)
{
}

void TMyDropTarget::Drop(QDropEvent& event)
{
    // Only a list of files counts; whatever else is dropped is accepted and ignored.
    const QMimeData* data = event.mimeData();
    QStringList names;
    if (data && data->hasUrls())
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                names << url.toLocalFile();
    if (event.possibleActions() & Qt::CopyAction)
        event.setDropAction(Qt::CopyAction);
    event.accept();
    if (names.isEmpty())
        return;

    Files->BeginUpdate();
    for (const QString& name : names)
        if (!name.isEmpty())
            Files->Add(name);
    Files->EndUpdate();
    if (OnFilesDropped)
        OnFilesDropped(*this);
}

bool TMyDropTarget::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
        DragEnter(static_cast<QDragEnterEvent&>(*event));
        return true;
    case QEvent::DragMove:
        DragOver(static_cast<QDragMoveEvent&>(*event));
        return true;
    case QEvent::DragLeave:
        DragLeave(static_cast<QDragLeaveEvent&>(*event));
        return true;
    case QEvent::Drop:
        Drop(static_cast<QDropEvent&>(*event));
        return true;
    default:
        return false;
    }
}

TMyDropTarget* RegisterDropTarget(QWidget* Window, TStringList* Files,
                                  std::function<void(TMyDropTarget& Sender)> Callback)
{
    if (!Window || !Files || targetOf(Window))
        return nullptr;
    // The window owns the target from now on; it has no name, so it is no
    // component of the window's form.
    auto* target = new TMyDropTarget(Files, Window);
    Window->installEventFilter(target);
    Window->setAcceptDrops(true);
    target->OnFilesDropped = std::move(Callback);
    return target;
}

bool RevokeDropTarget(QWidget* Window)
{
    TMyDropTarget* target = targetOf(Window);
    if (!target)
        return false;
    Window->removeEventFilter(target);
    Window->setAcceptDrops(false);
    delete target;
    return true;
}
