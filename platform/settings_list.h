#pragma once

#include <QString>
#include <QStringList>

/// A list of strings in one key of the user's settings: the count as
/// "<Name>Count", the strings as "<Name>1" up to "<Name><count>". What each
/// string holds is its owner's business.

/// The strings of the list Name in Key, in order, as many as the count says
/// but at most MaxCount: a count damaged by hand must not make a reader walk
/// millions of names. A missing string is left out; a missing key or count
/// gives none.
QStringList ReadSettingsList(const QString& Key, const QString& Name, int MaxCount);

/// Stores Values as the list Name in Key in place of the old one: the strings
/// first, the count last, so that an interrupted save keeps the old count.
/// Strings of an older, longer list stay behind the count, unread. False when
/// there are more than MaxCount values (nothing is written then), when the
/// key cannot be opened or a value cannot be written.
bool WriteSettingsList(const QString& Key, const QString& Name, const QStringList& Values, int MaxCount);
