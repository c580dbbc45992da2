#pragma once

#include "string_list.h"

#include <QObject>
#include <QString>
#include <QStringList>

/// Carries the strings a form composes at run time, so that a language switch
/// translates them with the form's controls. The form asks for a text by its
/// original wording (GetText) and receives the current language's wording.
///
/// Items (published: the component-tree translation rewrites it line by line)
/// holds the current wording; Originals, copied from Items when the form is
/// loaded, holds the keys. Line i of Originals is the key of line i of Items.
class TTextStorage : public QObject {
    Q_OBJECT
public:
    explicit TTextStorage(QObject* owner = nullptr);
    /// The component as a form description creates it: named, with its
    /// design-time lines, and loaded (Originals copied).
    TTextStorage(QObject* owner, const QString& name, const QStringList& items);

    TStringList& Items() { return FItems; }
    const TStringList& Items() const { return FItems; }
    /// Items takes a copy of `value`; while designing, Originals too.
    void SetItems(const TStringList& value);
    const TStringList& Originals() const { return FOriginals; }

    /// The end of loading: Originals becomes a copy of Items.
    void Loaded();
    /// While set, SetItems also sets the originals (the form designer's view).
    void SetDesigning(bool value) { FDesigning = value; }

    /// The current wording of `original`: line i of Items for the first line
    /// i of Originals that equals it without regard to case; `original` itself
    /// when there is none, or when that line reads exactly "unused".
    QString GetText(const QString& original) const;

private:
    TStringList FItems;
    TStringList FOriginals;
    bool FDesigning = false;
};
