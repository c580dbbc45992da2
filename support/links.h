#pragma once

#include <QString>

/// The maker's addresses, in one place: the About window's three link
/// buttons and the main window's Help item open them.
namespace Links {

inline constexpr char kEmail[] = "mailto:quorlo@varnel.example";
inline constexpr char kWebSite[] = "https://www.varnel.example/";
inline constexpr char kForum[] = "https://forum.varnel.example/quorlo/";
/// The program's online documentation (the main window's Help item).
inline constexpr char kHelp[] = "https://www.varnel.example/quorlo/help/";

}  // namespace Links

/// Has the desktop open an address with its default handler (browser, mail
/// program). Fails silently: with no handler nothing happens.
void OpenAddress(const char* address);
