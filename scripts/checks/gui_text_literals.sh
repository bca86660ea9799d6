#!/usr/bin/env bash
# Fails when a .cpp of the desktop program writes a user text itself: every text it shows comes
# from the glossary (core/app) or from a translation (tr, translate, the .ts files). Reports each
# string literal that holds Chinese, several English words, or one capitalised English word.
#   gui_text_literals.sh <folder of gui sources>
set -euo pipefail
root="${1:?usage: gui_text_literals.sh GUI_SOURCE_FOLDER}"
count=$(find "$root" -name '*.cpp' | wc -l)
find "$root" -name '*.cpp' -print0 | sort -z | xargs -0 perl -CSD -ne '
    BEGIN { $faults = 0 }
    # Lines that are not user texts: translations, traces, exceptions, process output.
    next if /\btr\(|translate\(|debugLog\(|reportError\(|fprintf\(|logic_error\(|runtime_error\(/;
    my $code = $_;
    # What comes before a comment; a "//" inside a literal does not start one.
    $code = $1 if $code =~ m{^((?:[^"/]|"(?:[^"\\]|\\.)*"|/(?!/))*)//};
    while ($code =~ /(\bL|QStringLiteral\()?"((?:[^"\\]|\\.)*)"/g) {
        my ($prefix, $text) = ($1 // "", $2);
        my $chinese = $text =~ /[\x{3000}-\x{303f}\x{4e00}-\x{9fff}\x{ff00}-\x{ffef}]/;
        my $words = $text !~ /[<>{}:;=\\]/ && $text =~ /\b[A-Za-z]{2,} [A-Za-z]{2,}\b/;
        my $word = $prefix ne "" && $text =~ /^[A-Z][a-z]+[.!?]?$/;
        if ($chinese || $words || $word) {
            print "$ARGV:$.: \"$text\"\n";
            $faults++;
        }
    }
    close ARGV if eof;  # line numbers per file
    END { exit($faults ? 1 : 0) }
' || { echo "User texts written in gui sources: move them to the glossary or a translation"; exit 1; }
echo "No user text literal in $count gui sources"
