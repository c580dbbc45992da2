#pragma once

#include <QString>

/// The maker's addresses, in one place: the About window's three link
/// buttons and the main window's Help item open them.
namespace Links {

inline constexpr char kEmail[] = "mailto:quorlo@varnel.example";
inline constexpr char kWebSite[] = "https://www.varnel.example/";
inline constexpr char kForum[] = "https://forum.varnel.example/quorlo/";
/// The program's online documentation (the main window's Help item when
/// the user guide is not there).
inline constexpr char kHelp[] = "https://www.varnel.example/quorlo/help/";

}  // namespace Links

class QUrl;
class QWidget;

/// Has the desktop open an address with its default handler (browser, mail
/// program). False when nothing could open it.
bool OpenAddress(const char* address);

/// Opens the address; when the desktop cannot (no browser, no mail
/// program), a message over `Parent` says so and shows the address,
/// selectable, for the user to copy.
void OpenAddressOrShowIt(QWidget* Parent, const char* address);
/// The same for any address; a file's is shown as its path.
void OpenAddressOrShowIt(QWidget* Parent, const QUrl& address);
