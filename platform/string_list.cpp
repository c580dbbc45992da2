#include "string_list.h"

#include "exception.h"

#include <algorithm>

TStringList::TStringList(const QStringList& strings)
{
    AddStrings(strings);
}

TStringList::TStringList(const TStringList& other) : FItems(other.FItems) {}

TStringList& TStringList::operator=(const TStringList& other)
{
    if (this != &other)
        Assign(other);
    return *this;
}

void TStringList::checkIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
}

const QString& TStringList::Strings(int index) const
{
    checkIndex(index);
    return FItems[static_cast<size_t>(index)].String;
}

QVariant TStringList::Objects(int index) const
{
    checkIndex(index);
    return FItems[static_cast<size_t>(index)].Object;
}

QObject* TStringList::Object(int index) const
{
    const QVariant object = Objects(index);
    return object.canConvert<QObject*>() ? object.value<QObject*>() : nullptr;
}

void TStringList::SetString(int index, const QString& s)
{
    if (FSorted)
        throw Exception(QStringLiteral("Operation not allowed on sorted list"));
    checkIndex(index);
    FItems[static_cast<size_t>(index)].String = s;
    changed();
}

void TStringList::SetObject(int index, const QVariant& object)
{
    checkIndex(index);
    FItems[static_cast<size_t>(index)].Object = object;
    changed();
}

int TStringList::Add(const QString& s)
{
    return AddObject(s, {});
}

int TStringList::AddObject(const QString& s, const QVariant& object)
{
    int index = Count();
    if (FSorted && find(s, index)) {
        if (FDuplicates == TDuplicates::dupIgnore)
            return index;
        if (FDuplicates == TDuplicates::dupError)
            throw Exception(QStringLiteral("String list does not allow duplicates"));
        // Equal strings keep the order in which they were added.
        while (index < Count() && compare(FItems[static_cast<size_t>(index)].String, s) == 0)
            ++index;
    }
    FItems.insert(FItems.begin() + index, Item{s, object});
    changed();
    return index;
}

void TStringList::AddStrings(const TStringList& strings)
{
    const TStringList copy(strings);   // the source may be this very list
    BeginUpdate();
    for (const Item& item : copy.FItems)
        AddObject(item.String, item.Object);
    EndUpdate();
}

void TStringList::AddStrings(const QStringList& strings)
{
    BeginUpdate();
    for (const QString& s : strings)
        Add(s);
    EndUpdate();
}

void TStringList::Insert(int index, const QString& s, const QVariant& object)
{
    if (FSorted)
        throw Exception(QStringLiteral("Operation not allowed on sorted list"));
    if (index < 0 || index > Count())
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
    FItems.insert(FItems.begin() + index, Item{s, object});
    changed();
}

void TStringList::Delete(int index)
{
    checkIndex(index);
    FItems.erase(FItems.begin() + index);
    changed();
}

void TStringList::Clear()
{
    if (FItems.empty())
        return;
    FItems.clear();
    changed();
}

void TStringList::Assign(const TStringList& other)
{
    if (this == &other)
        return;
    BeginUpdate();
    Clear();
    AddStrings(other);
    EndUpdate();
}

int TStringList::compare(const QString& a, const QString& b) const
{
    return QString::compare(a, b, FCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

bool TStringList::find(const QString& s, int& index) const
{
    const auto it = std::lower_bound(FItems.begin(), FItems.end(), s,
        [this](const Item& item, const QString& key) { return compare(item.String, key) < 0; });
    index = static_cast<int>(it - FItems.begin());
    return it != FItems.end() && compare(it->String, s) == 0;
}

int TStringList::IndexOf(const QString& s) const
{
    if (FSorted) {
        int index = 0;
        return find(s, index) ? index : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (compare(FItems[static_cast<size_t>(i)].String, s) == 0)
            return i;
    return -1;
}

int TStringList::IndexOfObject(const QVariant& object) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[static_cast<size_t>(i)].Object == object)
            return i;
    return -1;
}

QString TStringList::Text() const
{
    QString text;
    for (const Item& item : FItems) {
        text += item.String;
        text += QLatin1String("\r\n");
    }
    return text;
}

void TStringList::SetText(const QString& text)
{
    BeginUpdate();
    Clear();
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        Add(text.mid(start, end - start));
        if (end < n && text[end] == u'\r')
            ++end;
        if (end < n && text[end] == u'\n')
            ++end;
        start = end;
    }
    EndUpdate();
}

QStringList TStringList::ToStringList() const
{
    QStringList list;
    list.reserve(Count());
    for (const Item& item : FItems)
        list.append(item.String);
    return list;
}

void TStringList::sort()
{
    std::stable_sort(FItems.begin(), FItems.end(),
        [this](const Item& a, const Item& b) { return compare(a.String, b.String) < 0; });
}

void TStringList::SetSorted(bool value)
{
    if (FSorted == value)
        return;
    FSorted = value;
    if (FSorted) {
        sort();
        changed();
    }
}

void TStringList::SetCaseSensitive(bool value)
{
    if (FCaseSensitive == value)
        return;
    FCaseSensitive = value;
    if (FSorted) {
        sort();
        changed();
    }
}

void TStringList::BeginUpdate()
{
    ++FUpdateCount;
}

void TStringList::EndUpdate()
{
    if (FUpdateCount == 0)
        return;   // unpaired: nothing is open
    if (--FUpdateCount == 0 && FChangedInUpdate) {
        FChangedInUpdate = false;
        if (OnChange)
            OnChange(*this);
    }
}

void TStringList::changed()
{
    if (FUpdateCount > 0) {
        FChangedInUpdate = true;
        return;
    }
    if (OnChange)
        OnChange(*this);
}
