// Decoding a serialisation to UTF-8 with libxml2's encoding handlers.
#include "xml/transcode.h"

#include <libxml/parser.h>
#include <libxml/encoding.h>

#include <cctype>

#include "xml/libxml2_internal.h"

namespace tarnwick::xml {

namespace {

bool IsUtf8Name(const std::string& encoding) {
  std::string e;
  for (char c : encoding) e += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return e.empty() || e == "UTF-8" || e == "UTF8";
}

}  // namespace

std::string DecodeToUtf8(std::string&& bytes, const std::string& encoding) {
  if (!IsUtf8Name(encoding)) return DecodeToUtf8(std::string_view(bytes), encoding);
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
  return std::move(bytes);
}

std::string DecodeToUtf8(std::string_view bytes, const std::string& encoding) {
  if (IsUtf8Name(encoding)) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return std::string(bytes);
  }
  xmlCharEncodingHandlerPtr handler = xmlFindCharEncodingHandler(encoding.c_str());
  if (handler == nullptr) return std::string(bytes);
  xmlBufferPtr in = xmlBufferCreateStatic(const_cast<char*>(bytes.data()), bytes.size());
  xmlBufferPtr out = xmlBufferCreateSize(bytes.size() + bytes.size() / 2 + 16);
  std::string result;
  if (in && out) {
    libxml2::CapturedError ignored;
    libxml2::StructuredErrorScope quiet(&ignored);
    xmlCharEncInFunc(handler, out, in);
    result.assign(reinterpret_cast<const char*>(xmlBufferContent(out)), static_cast<size_t>(xmlBufferLength(out)));
  }
  if (in) xmlBufferFree(in);
  if (out) xmlBufferFree(out);
  xmlCharEncCloseFunc(handler);
  if (result.substr(0, 3) == "\xEF\xBB\xBF") result.erase(0, 3);
  return result;
}

}  // namespace tarnwick::xml
