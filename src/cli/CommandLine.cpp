#include "CommandLine.h"

#include "core/common/Utils.h"
#include "core/converter/PageRanges.h"
#include "core/converter/PieceSize.h"

#include <map>
#include <sys/stat.h>

namespace {

using Converter::PageTextStatus;

// A whole number in the int range, and nothing else.
bool readWholeNumber(const std::string& text, int& value, std::string& error, const std::string& what)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        error = what + " \"" + text + "\" is not a whole number";
        return false;
    }
    if (Converter::readNumber(Utils::utf8ToWide(text), value) == PageTextStatus::OutOfRange) {
        error = what + " " + text + " is beyond the largest page number";
        return false;
    }
    return true;
}

bool readRange(const std::string& text, int& from, int& to, std::string& error)
{
    const std::size_t dash = text.find('-');
    if (dash == std::string::npos) {
        error = "page range \"" + text + "\" is not of the form A-B";
        return false;
    }
    return readWholeNumber(text.substr(0, dash), from, error, "page") &&
           readWholeNumber(text.substr(dash + 1), to, error, "page");
}

bool isFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

} // namespace

const char* CommandLine::usage()
{
    return "usage:\n"
           "  korvex-pdf-cli info FILE...\n"
           "  korvex-pdf-cli extract FILE --pages A-B [opts]\n"
           "  korvex-pdf-cli compress FILE... [--level standard|lossless|balanced|strong] [opts]\n"
           "  korvex-pdf-cli decrypt FILE... [--password-file F] [opts]   (F \"-\": standard input)\n"
           "  korvex-pdf-cli merge [--alternate] FILE[:A-B][:r]... [opts]   (:r: that file's pages last to first)\n"
           "  korvex-pdf-cli split FILE... (--every N | --at P1,P2,... | --bookmarks LEVEL | --size MB) [opts]\n"
           "opts: --out DIR (default: the current folder)  --lang en|zh (default: en)\n";
}

std::optional<CommandLine> CommandLine::parse(const std::vector<std::string>& args, std::string& error,
                                              bool& helpOnly)
{
    helpOnly = false;
    if (args.empty()) {
        error = "no command";
        return std::nullopt;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        helpOnly = true;
        return std::nullopt;
    }
    static const std::map<std::string, Command> commands = {
        {"info", Command::Info},       {"extract", Command::Extract}, {"compress", Command::Compress},
        {"decrypt", Command::Decrypt}, {"merge", Command::Merge},     {"split", Command::Split}};
    const auto found = commands.find(args[0]);
    if (found == commands.end()) {
        error = "unknown command \"" + args[0] + "\"";
        return std::nullopt;
    }

    CommandLine line;
    line.command = found->second;
    bool pagesGiven = false, everyGiven = false, atGiven = false, optionsEnded = false;
    bool bookmarksGiven = false, sizeGiven = false;
    std::vector<std::string> files;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            helpOnly = true;
            return std::nullopt;
        }
        // "--name value" or "--name=value"
        std::string value;
        const std::size_t equals = arg.find('=');
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
            arg.resize(equals);
        } else if (arg == "--out" || arg == "--lang" || arg == "--pages" || arg == "--every" ||
                   arg == "--at" || arg == "--password-file" || arg == "--bookmarks" ||
                   arg == "--level" || arg == "--size") {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return std::nullopt;
            }
            value = args[++i];
        }

        const auto onlyFor = [&](Command command) {
            if (line.command == command)
                return true;
            error = arg + " does not apply to " + args[0];
            return false;
        };
        if (arg == "--out") {
            if (value.empty()) {
                error = "--out needs a folder";
                return std::nullopt;
            }
            line.outFolder = Utils::utf8ToWide(value);
        } else if (arg == "--lang") {
            if (value != "en" && value != "zh") {
                error = "--lang takes en or zh";
                return std::nullopt;
            }
            line.chinese = value == "zh";
        } else if (arg == "--pages") {
            if (!onlyFor(Command::Extract) || !readRange(value, line.fromPage, line.toPage, error))
                return std::nullopt;
            pagesGiven = true;
        } else if (arg == "--every") {
            if (!onlyFor(Command::Split) || !readWholeNumber(value, line.every, error, "--every"))
                return std::nullopt;
            if (line.every < 1) {
                error = "--every needs at least 1 page per piece";
                return std::nullopt;
            }
            everyGiven = true;
        } else if (arg == "--at") {
            if (!onlyFor(Command::Split))
                return std::nullopt;
            line.points.clear();
            std::size_t start = 0;
            while (true) {
                const std::size_t comma = value.find(',', start);
                int point = 0;
                if (!readWholeNumber(value.substr(start, comma - start), point, error, "split point"))
                    return std::nullopt;
                line.points.push_back(point);
                if (comma == std::string::npos)
                    break;
                start = comma + 1;
            }
            atGiven = true;
        } else if (arg == "--bookmarks") {
            if (!onlyFor(Command::Split) ||
                !readWholeNumber(value, line.bookmarkLevel, error, "--bookmarks"))
                return std::nullopt;
            if (line.bookmarkLevel < 1) {
                error = "--bookmarks needs a level of 1 or more (1: the top bookmarks)";
                return std::nullopt;
            }
            bookmarksGiven = true;
        } else if (arg == "--size") {
            if (!onlyFor(Command::Split))
                return std::nullopt;
            const auto status = Converter::readPieceMegabytes(Utils::utf8ToWide(value), line.pieceBytes);
            if (status != Converter::PieceSizeStatus::Ok) {
                error = "--size takes megabytes from 0.001 to " + std::to_string(Converter::kMaxPieceMegabytes) +
                        " (such as 10 or 2.5), not \"" + value + "\"";
                return std::nullopt;
            }
            sizeGiven = true;
        } else if (arg == "--alternate") {
            if (!onlyFor(Command::Merge))
                return std::nullopt;
            line.alternate = true;
        } else if (arg == "--level") {
            if (!onlyFor(Command::Compress))
                return std::nullopt;
            const auto level = Converter::compressionLevelFromName(value);
            if (!level) {
                error = "--level takes standard, lossless, balanced or strong";
                return std::nullopt;
            }
            line.level = *level;
        } else if (arg == "--password-file") {
            if (!onlyFor(Command::Decrypt))
                return std::nullopt;
            if (value.empty()) {
                error = "--password-file needs a file, or - for standard input";
                return std::nullopt;
            }
            line.passwordFile = value;
        } else {
            error = "unknown option " + arg;
            return std::nullopt;
        }
    }

    if (files.empty()) {
        error = "no FILE given";
        return std::nullopt;
    }
    if (line.command == Command::Extract && files.size() != 1) {
        error = "extract takes one FILE";
        return std::nullopt;
    }
    if (line.command == Command::Extract && !pagesGiven) {
        error = "extract needs --pages A-B";
        return std::nullopt;
    }
    if (line.command == Command::Split && int(everyGiven) + int(atGiven) + int(bookmarksGiven) + int(sizeGiven) != 1) {
        error = "split needs one of --every N, --at P1,P2,..., --bookmarks LEVEL or --size MB";
        return std::nullopt;
    }

    for (std::string file : files) {
        Input input{Utils::utf8ToWide(file), {}};
        // FILE:r and FILE:A-B:r, unless a file of that very name exists.
        if (line.command == Command::Merge && file.size() > 2 && file.compare(file.size() - 2, 2, ":r") == 0 &&
            !isFile(file)) {
            file.resize(file.size() - 2);
            input.path = Utils::utf8ToWide(file);
            input.reversed = true;
        }
        // FILE:A-B, unless a file of that very name exists.
        const std::size_t colon = file.rfind(':');
        if (line.command == Command::Merge && colon != std::string::npos && !isFile(file)) {
            int from = 0, to = 0;
            std::string rangeError;
            if (readRange(file.substr(colon + 1), from, to, rangeError)) {
                input.path = Utils::utf8ToWide(file.substr(0, colon));
                input.range = Converter::pageRangeText(from, to);
            } else if (file.find_first_of("0123456789", colon) == colon + 1) {
                error = file + ": " + rangeError;
                return std::nullopt;
            }
        }
        line.inputs.push_back(std::move(input));
    }
    return line;
}
