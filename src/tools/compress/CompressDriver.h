#pragma once
// One compression of one file at one level. Lossless: unreferenced resources dropped,
// identical streams stored once, flate recompressed at level 9, object streams. Balanced and
// strong also downsample images drawn above their resolution and store them as JPEG. The
// document is changed in place and written by libqpdf, so outline, links, names, forms, page
// labels and metadata stay as they were. The result is never larger than the input: when it
// would be, the lossless result or, failing that, a copy of the input is written instead.
// Prints "page\t<n>\t<count>" on standard output as each page is done.

#include <string>

class CompressDriver {
public:
    enum class Level { Lossless, Balanced, Strong };

    struct Outcome {
        bool warnings = false;
        // What was written: "level", "lossless" or "copy".
        std::string kept;
    };

    CompressDriver(Level level, std::string input, std::string output);

    // Throws when the input cannot be read or the output cannot be written.
    Outcome run();

private:
    // Writes the level's result to the output; true when qpdf warned.
    bool writeAt(Level level, bool reportPages);

    Level m_level;
    std::string m_input;
    std::string m_output;
};
