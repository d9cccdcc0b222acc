#include "app/transform_command.h"

#include "app/command_output.h"
#include "xml/file_save.h"
#include "xml/xml_errors.h"
#include "xml/xslt_transform.h"

#include <new>
#include <ostream>

namespace tarnwick {

using namespace xml;

namespace {

void Report(const std::vector<StylesheetMessage> &messages, const std::string &stylesheet, std::ostream &err)
{
    for (const StylesheetMessage &m : messages)
        err << FileReportLine(m.file.empty() ? stylesheet : m.file, (m.warning ? "warning: " : "") + m.message, m.line)
            << "\n";
}

} // namespace

int RunTransformCommand(const CommandLine &line, std::ostream &out, std::ostream &err)
{
    const std::string &path = line.files.front();
    try {
        const TransformResult result = TransformFile(path, line.stylesheet);
        Report(result.messages, result.stylesheet, err);
        if (line.output.empty() || line.output == "-") {
            out.write(result.bytes.data(), static_cast<std::streamsize>(result.bytes.size()));
            out.flush();
            return out.good() ? 0 : 2;
        }
        WriteDocumentFile(line.output, result.bytes);
        return 0;
    } catch (const ETransformError &error) {
        Report(error.Messages(), line.stylesheet, err);
        err << FileReportLine(path, error.what()) << "\n";
    } catch (const EDOMParseError &error) {
        err << (error.ParseError() ? FileReportLine(path, *error.ParseError()) : FileReportLine(path, error.what()))
            << "\n";
    } catch (const std::bad_alloc &) {
        err << FileReportLine(path, "there is not enough memory for this file") << "\n";
    } catch (const std::exception &error) {
        err << FileReportLine(path, error.what()) << "\n";
    }
    return 2;
}

} // namespace tarnwick
