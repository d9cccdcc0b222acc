// The addresses the shell's link labels open, and the click hook they use.
#pragma once

#include <functional>

class QLabel;

// Pages that exist: the W3C's XML home and the XML recommendation itself.
inline constexpr const char *kWebSiteAddress = "https://www.w3.org/XML/";
inline constexpr const char *kSocialPageAddress = "https://www.w3.org/TR/xml/";

// Runs `action` under the error handler whenever the label is clicked.
void OnClick(QLabel *label, std::function<void()> action);
