#include "message_storage.h"

#include "messages.h"
#include "C_TextStorage.h"
#include "lang_components.h"

#include <QWidget>

namespace {

const QString kStorageName = QStringLiteral("TS_messages");

// Any form may carry the storage; the main form does in the program.
QString textOfRegisteredForms(const QString& original)
{
    for (QWidget* form : TApplicationForms::Application().Forms())
        if (const auto* storage = form->findChild<TTextStorage*>(kStorageName, Qt::FindDirectChildrenOnly))
            return storage->GetText(original);
    return original;
}

}  // namespace

TTextStorage* CreateMessageStorage(QWidget* mainForm)
{
    SetMessageSource(textOfRegisteredForms);
    return new TTextStorage(mainForm, kStorageName, MessageOriginals());
}
