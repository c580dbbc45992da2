#pragma once

#include <QString>

/// Makes MessageText answer with the message catalogue of the language file
/// FileName (its entry "MainDlg.TS_messages"), as the window's text storage
/// does after a switch to that file: line i of the entry replaces message i,
/// and a line reading "unused" keeps the original; FramingText likewise from
/// the framing window's entry "FrameDlg.TS_frame". False, changing nothing,
/// when the file cannot be read or translates no message.
bool UseMessagesOfFile(const QString& FileName);

/// For a program without windows (quorlo-sheet): the messages and the
/// default locale (the decimal separator of numbers) of the language the
/// window would start in for the user's locale (LC_ALL, LC_MESSAGES, LANG)
/// with no saved choice, from the same language folders. Without a file of
/// that language everything stays in the original English. Returns the file
/// used; empty when none was.
QString UseMessagesOfUserLocale();
