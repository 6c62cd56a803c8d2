#pragma once

#include <string>
#include <vector>

// The program's command line: zelvo [--rules ADDRESS|PATH] [--help] [--version].
// Read before the user interface starts, so that a mistake ends the process
// before any window opens. Every frontend's entry calls parseCommandLine and
// then either starts the program with the rule source or prints and ends:
//
//     const zelvo::CommandLine command = zelvo::parseCommandLine(arguments);
//     if (command.action == zelvo::CommandLine::Action::Exit) {
//         write command.standardOutput to standard output,
//         command.standardError to standard error;
//         return command.exitCode;
//     }
//     start with StartOptions{.ruleSource = command.ruleSource}
namespace zelvo {

struct CommandLine {
    enum class Action {
        Start,  // open the main window
        Exit,   // print what is below and end with exitCode; no window
    };
    Action action = Action::Start;
    // With Start: the rule source named by --rules, GBK: an http or https
    // address as given, or the absolute path of a RuleList file that has
    // passed the checks the rule source applies. Empty: the build setting.
    std::string ruleSource;
    // GBK texts, like every text of the program (a frontend converts them
    // for its console); each line ends in "\n". --help and --version fill
    // standardOutput; a mistake gives exactly one line in standardError.
    std::string standardOutput;
    std::string standardError;
    int exitCode = 0;  // 0 after --help or --version, 2 after a mistake
};

inline constexpr int kCommandLineMistake = 2;

// arguments: the command-line arguments after the program's name, in UTF-8
// (as Linux hands them over; a Windows entry converts its wide arguments).
// A relative file path is made absolute here, against the directory the
// process was started in, since start-up later enters the program's folder.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace zelvo
