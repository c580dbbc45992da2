#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <vector>

/// How a sorted list treats a string it already holds.
enum class TDuplicates { dupIgnore, dupAccept, dupError };

/// An ordered list of strings, each with an attached object (any QVariant:
/// a QObject*, a number, ...). Lookups compare without regard to case unless
/// CaseSensitive is set. A sorted list keeps its strings in order of that
/// comparison and places every added string itself.
///
/// Changes raise OnChange, except between BeginUpdate and the matching
/// EndUpdate, which raises it once when anything changed meanwhile.
class TStringList {
public:
    TStringList() = default;
    TStringList(const QStringList& strings);
    /// Copies strings and objects; OnChange, Sorted, Duplicates and the
    /// update state are the list's own and not copied.
    TStringList(const TStringList& other);
    TStringList& operator=(const TStringList& other);

    int Count() const { return static_cast<int>(FItems.size()); }
    bool IsEmpty() const { return FItems.empty(); }

    /// Unchecked against the count: an index outside 0 .. Count-1 raises
    /// "List index out of bounds (%d)".
    const QString& Strings(int index) const;
    const QString& operator[](int index) const { return Strings(index); }
    QVariant Objects(int index) const;
    /// The attached object as a QObject*, or nullptr when it holds none.
    QObject* Object(int index) const;
    /// Replaces a string; not allowed on a sorted list (raises).
    void SetString(int index, const QString& s);
    void SetObject(int index, const QVariant& object);

    /// Appends (or, when sorted, inserts in order) and returns the index;
    /// a sorted list that ignores duplicates returns the existing index.
    int Add(const QString& s);
    int AddObject(const QString& s, const QVariant& object);
    /// Adds every string of the list (and its objects), in one update.
    void AddStrings(const TStringList& strings);
    void AddStrings(const QStringList& strings);
    /// Not allowed on a sorted list (raises).
    void Insert(int index, const QString& s, const QVariant& object = {});
    void Delete(int index);
    void Clear();
    /// Replaces the content by a copy of the other list's strings and objects.
    void Assign(const TStringList& other);

    /// Index of the first string equal to s (by the list's comparison), or -1.
    int IndexOf(const QString& s) const;
    /// Index of the first line whose object is `object`, or -1.
    int IndexOfObject(const QVariant& object) const;

    /// Every string followed by CR LF.
    QString Text() const;
    /// Replaces the content by the lines of `text`, split at CR LF, CR or LF;
    /// a break at the very end makes no extra empty line.
    void SetText(const QString& text);

    QStringList ToStringList() const;

    bool Sorted() const { return FSorted; }
    /// Turning sorting on sorts the present strings (duplicates are kept).
    void SetSorted(bool value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates value) { FDuplicates = value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool value);

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    std::function<void(TStringList&)> OnChange;

private:
    struct Item {
        QString String;
        QVariant Object;
    };

    int compare(const QString& a, const QString& b) const;
    /// Sorted lists only: true with the index of the first equal string,
    /// else false with the index where it belongs.
    bool find(const QString& s, int& index) const;
    void checkIndex(int index) const;
    void sort();
    void changed();

    std::vector<Item> FItems;
    bool FSorted = false;
    bool FCaseSensitive = false;
    TDuplicates FDuplicates = TDuplicates::dupIgnore;
    int FUpdateCount = 0;
    bool FChangedInUpdate = false;
};
