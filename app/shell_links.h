// The addresses the shell's link labels open, the click hook they use, and
// the one way the shell hands an address to the desktop.
#pragma once

#include <functional>

class QLabel;
class QString;
class QUrl;

// Pages that exist: the W3C's XML home and the XML recommendation itself.
inline constexpr const char *kWebSiteAddress = "https://www.w3.org/XML/";
inline constexpr const char *kSocialPageAddress = "https://www.w3.org/TR/xml/";

// Runs `action` under the error handler whenever the label is clicked.
void OnClick(QLabel *label, std::function<void()> action);

// Asks the desktop to open `url` in its browser or handler; when nothing can
// be started, says so in an error box naming `shown`. True when it started.
bool OpenInBrowser(const QUrl &url, const QString &shown);
// The same for an address as the user sees it (a link label's caption, a URL
// clicked in the text).
bool OpenAddress(const QString &address);

// Replaces the desktop's opener (QDesktopServices::openUrl), for tests; an
// empty function restores it.
void SetUrlOpener(std::function<bool(const QUrl &)> opener);
