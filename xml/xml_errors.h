// Exceptions of the XML document layer. They share one base derived from
// std::runtime_error so the shell's error guard shows any of them alike.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace tarnwick::xml {

class IDOMParseError;

// Base of every failure the layer raises; also used for the registry's
// "plain" failures ("No matching DOM Vendor", "already registered").
class EXMLLayerError : public std::runtime_error {
public:
    explicit EXMLLayerError(const std::string &message) : std::runtime_error(message) {}
};

// Misuse of the document object ("No active document", "Invalid node type", ...).
class EXMLDocError : public EXMLLayerError {
public:
    using EXMLLayerError::EXMLLayerError;
};

// Text the vendor rejected while loading. Keeps the parse error object so a
// caller can read code, line, position, source text and reason.
class EDOMParseError : public EXMLLayerError {
public:
    EDOMParseError(const std::string &message, std::shared_ptr<IDOMParseError> parseError)
        : EXMLLayerError(message), parseError_(std::move(parseError))
    {
    }
    const std::shared_ptr<IDOMParseError> &ParseError() const { return parseError_; }

private:
    std::shared_ptr<IDOMParseError> parseError_;
};

// A vendor gap: a method or property the vendor cannot serve.
class DOMException : public EXMLLayerError {
public:
    using EXMLLayerError::EXMLLayerError;
};

// "List index out of bounds (%d)" of the text list and the node lists.
class EStringListError : public std::out_of_range {
public:
    explicit EStringListError(int index);
};

// Message texts used in more than one file.
inline constexpr const char *SNoActiveDocument = "No active document";
inline constexpr const char *SInvalidNodeType = "Invalid node type";
inline constexpr const char *SNotSingleTextNode = "Element does not contain a single text node";
inline constexpr const char *SMissingFileName = "FileName cannot be blank";
inline constexpr const char *SMissingItem = "Node \"%s\" not found";
inline constexpr const char *SNoParseOptions = "DOM Implementation does not support IDOMParseOptions";
inline constexpr const char *SNoRefresh = "Refresh is only supported if the FileName or XML properties are set";
inline constexpr const char *SDOMNotSupported = "Selected DOM Vendor does not support this property or method";
inline constexpr const char *SNotSupportedByVendor = "Property or Method \"%s\" is not supported by DOM Vendor \"%s\"";
inline constexpr const char *SNoMatchingDOMVendor = "No matching DOM Vendor: \"%s\"";
inline constexpr const char *SDOMVendorAlreadyRegistered = "\"%s\" DOMImplementation already registered";
inline constexpr const char *SNodeCannotBeNull = "Node cannot be null";
inline constexpr const char *SNotAttributeNode = "Attributes are not supported on this node type";
inline constexpr const char *SNodeReadOnly = "Node is readonly";

// printf-style formatting of one or two string arguments into a message.
std::string FormatMessage(const char *format, const std::string &a);
std::string FormatMessage(const char *format, const std::string &a, const std::string &b);

// The message of the EDOMParseError raised for a parse error: the reason, CR
// LF, "Line: " and the line number, CR LF, the first 40 characters of the
// source text.
std::string ParseErrorMessage(IDOMParseError &error);

// The DOMException a vendor raises for a method it does not serve.
[[noreturn]] void RaiseNotSupported(const std::string &method, const std::string &vendor);

} // namespace tarnwick::xml
