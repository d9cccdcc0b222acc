#include "xml/scan_checkpoints.h"

namespace tarnwick::xml {

void ScanCheckpoints::Forget(int line) { states_.erase(states_.upper_bound(line), states_.end()); }

void ScanCheckpoints::Keep(int line, const MarkupScanner &scanner)
{
    if (states_.size() >= kMaxStates)
        states_.clear();
    states_.insert_or_assign(line, scanner);
}

MarkupScanner ScanCheckpoints::ScannerBefore(const TextLines &text, int line)
{
    MarkupScanner scanner;
    int from = 0;
    auto nearest = states_.upper_bound(line);
    if (nearest != states_.begin()) {
        --nearest;
        scanner = nearest->second;
        from = nearest->first;
    }
    size_t sinceKept = 0;
    for (int l = from; l < line; ++l) {
        if (sinceKept >= kSpacing) {
            Keep(l, scanner);
            sinceKept = 0;
        }
        const std::string_view s = text.Line(l);
        scanner.Scan(s, l);
        sinceKept += s.size() + 1;
    }
    if (line > from)
        Keep(line, scanner);
    return scanner;
}

MarkupScanner ScanLinesBefore(const TextLines &text, int line, ScanCheckpoints *checkpoints)
{
    if (checkpoints)
        return checkpoints->ScannerBefore(text, line);
    MarkupScanner scanner;
    for (int l = 0; l < line; ++l)
        scanner.Scan(text.Line(l), l);
    return scanner;
}

} // namespace tarnwick::xml
