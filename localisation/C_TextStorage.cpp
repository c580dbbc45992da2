#include "C_TextStorage.h"

TTextStorage::TTextStorage(QObject* owner) : QObject(owner) {}

TTextStorage::TTextStorage(QObject* owner, const QString& name, const QStringList& items)
    : QObject(owner)
{
    setObjectName(name);
    FItems.AddStrings(items);
    Loaded();
}

void TTextStorage::SetItems(const TStringList& value)
{
    FItems.Assign(value);
    if (FDesigning)
        FOriginals.Assign(value);
}

void TTextStorage::Loaded()
{
    FOriginals.Assign(FItems);
}

QString TTextStorage::GetText(const QString& original) const
{
    const int i = FOriginals.IndexOf(original);
    // A translated list may be shorter than the originals: a key without a
    // line of its own keeps its original wording.
    if (i < 0 || i >= FItems.Count())
        return original;
    const QString& text = FItems.Strings(i);
    return text == QLatin1String("unused") ? original : text;
}
