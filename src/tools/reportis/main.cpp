// Stand-in crash reporter: records the report it was given and returns, so the crashed
// program can end. The report goes to the file named by KORVEX_REPORTIS_LOG, or to stderr.

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    std::string line;
    for (int i = 1; i < argc; ++i) {
        line += argv[i];
        line += i + 1 < argc ? " " : "\n";
    }
    const char* logPath = std::getenv("KORVEX_REPORTIS_LOG");
    FILE* out = logPath ? std::fopen(logPath, "a") : stderr;
    if (!out)
        return 1;
    std::fputs(("crash report: " + line).c_str(), out);
    if (out != stderr)
        std::fclose(out);
    return 0;
}
