// Helpers for the XML declaration's pseudo-attributes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::xml {

// The value of pseudo-attribute `name` in declaration text `text`, or
// `defaultValue` when the name does not occur.
std::string DeclarationValue(const std::string &name, const std::string &text, const std::string &defaultValue);

// The encoding named by the XML declaration that opens `text` (UTF-8 or any
// one-byte encoding), or empty when there is no declaration or no encoding.
std::string DeclaredEncoding(std::string_view text);

// Appends name="value" to text (a blank first when text is not empty); an empty
// value is skipped.
void AppendDeclarationItem(std::string &text, const std::string &name, const std::string &value);

// Removes the encoding pseudo-attribute of the XML declaration that opens
// text (its name within the first 50 characters) unless it names one of
// `allowed` (compared case-insensitively). Nothing else is touched.
std::string DropForeignEncoding(const std::string &text, const std::vector<std::string> &allowed);

// The encodings a decoded (wide) string may keep in its declaration.
const std::vector<std::string> &WideEncodings();

} // namespace tarnwick::xml
