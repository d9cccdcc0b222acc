#include "app/application_icon.h"
#include "app/command_line.h"
#include "app/error_guard.h"
#include "app/grammar_command.h"
#include "app/main_window.h"
#include "app/shell_settings.h"
#include "app/transform_command.h"
#include "app/xml_commands.h"
#include "app/xpath_command.h"
#include "editor/qt/dodi_widget.h"
#include "xml/libxml2_vendor.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace {

int Edit(int argc, char **argv, const CommandLine &line)
{
    TarnwickApplication app(argc, argv);
    tarnwick::xml::RegisterLibxml2Vendor();
    AllowFoldersForThisRun(line.allowedFolders);
    ApplyAllowedFolders();
    QApplication::setApplicationName(QStringLiteral("Tarnwick"));
    QApplication::setApplicationVersion(QStringLiteral(TARNWICK_VERSION));
    // Ties the windows to the installed desktop entry (its icon and name);
    // every window and dialog shows the application's icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("tarnwick"));
    QApplication::setWindowIcon(ApplicationIcon());
    TForm1 window;
    window.show();
    if (!line.files.empty()) {
        const QString path = QString::fromLocal8Bit(line.files.front().c_str());
        RunGuarded([&] { window.OpenFile(path); });
    }
    // For the launch benchmark: the process ends once the opened document
    // is painted, without taking it apart, as the user's wait ends there.
    if (qEnvironmentVariableIsSet("TARNWICK_EXIT_AFTER_FIRST_PAINT")) {
        window.EditorWidget().repaint();
        std::fflush(nullptr);
        std::_Exit(0);
    }
    return app.exec();
}

} // namespace

int main(int argc, char **argv)
{
    const CommandLine line = ParseCommandLine(argc, argv);
    if (line.action != CommandLine::Action::Edit)
        AllowExternalFolders(line);
    switch (line.action) {
    case CommandLine::Action::Help:
        std::cout << UsageText();
        return 0;
    case CommandLine::Action::Version:
        std::cout << "tarnwick " << TARNWICK_VERSION << "\n";
        return 0;
    case CommandLine::Action::Error:
        std::cerr << "tarnwick: " << line.error << "\n\n" << UsageText();
        return 2;
    case CommandLine::Action::Format:
        return tarnwick::RunFormatCommand(line, std::cout, std::cerr);
    case CommandLine::Action::Validate:
        if (!line.grammar.empty())
            return tarnwick::RunGrammarValidateCommand(line, std::cout, std::cerr);
        return tarnwick::RunValidateCommand(line, std::cout, std::cerr);
    case CommandLine::Action::XPath: {
        // Ends without running the libraries' static destructors: the first
        // large block freed after a large tree was freed has the allocator
        // sweep every freed node together, a sixth of the command's time.
        const int status = tarnwick::RunXPathCommand(line, std::cout, std::cerr);
        std::cout.flush();
        std::fflush(nullptr);
        std::_Exit(status);
    }
    case CommandLine::Action::Transform:
        return tarnwick::RunTransformCommand(line, std::cout, std::cerr);
    case CommandLine::Action::Edit:
        break;
    }
    return Edit(argc, argv, line);
}
