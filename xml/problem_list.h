// Every error and warning one check finds in a document, where the check
// would otherwise stop at the first: the list a problems view shows. A scope
// lets Validate's own parse and validators fill such a list on the way,
// while the command itself still fails with the first error.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tarnwick::xml {

struct DocumentProblem {
    int line = 0;   // 1-based in the document; 0 when it names no place
    int column = 0; // 1-based, 0 when unknown
    std::string message;
    bool warning = false;
    bool operator==(const DocumentProblem &) const = default;
};

// How many problems a list keeps by default; it counts the rest.
inline constexpr size_t kListedProblems = 1000;

class ProblemList {
public:
    explicit ProblemList(size_t listed = kListedProblems) : listed_(listed) {}

    // Counts the problem, and keeps it while fewer than `listed` are kept.
    void Add(DocumentProblem problem);
    // The first ones found, in the order found.
    const std::vector<DocumentProblem> &Listed() const { return problems_; }
    std::vector<DocumentProblem> TakeListed() { return std::move(problems_); }
    // All of them, listed or not; the errors among them.
    size_t Count() const { return count_; }
    size_t ErrorCount() const { return errors_; }

private:
    size_t listed_;
    size_t count_ = 0;
    size_t errors_ = 0;
    std::vector<DocumentProblem> problems_;
};

// While it lives, validation on this thread (the validating parse, the
// schema or RELAX NG grammar the document names) adds every error and warning
// it meets to `list`, each told as the first error would be: an error in
// another file (the DTD, an entity) names that file and where, never its text.
class ProblemListScope {
public:
    explicit ProblemListScope(ProblemList &list);
    ~ProblemListScope();
    ProblemListScope(const ProblemListScope &) = delete;
    ProblemListScope &operator=(const ProblemListScope &) = delete;

    // The list of the innermost scope on this thread, null outside any.
    static ProblemList *Current();

private:
    ProblemList *previous_;
};

} // namespace tarnwick::xml
