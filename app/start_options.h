#pragma once

#include <QString>
#include <QStringList>

/// What the program's command line asks for besides the window's own
/// switches ("-co" is the language list's business).
struct TStartOptions {
    bool Help = false;
    bool Version = false;
    /// The photo to start with, as given; empty for none.
    QString Photo;
};

/// Reads the items after the program's name. --help and --version answer
/// whatever else the line holds; the first item that is no switch names the
/// photo. A switch begins with "-", or is a "/" word such as "/co" that names
/// no existing file.
TStartOptions ParseStartOptions(const QStringList& Args);

/// The text --help prints.
QString StartUsage();
