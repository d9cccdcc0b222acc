#include "xml/problem_list.h"

namespace tarnwick::xml {

namespace {

thread_local ProblemList *current = nullptr;

} // namespace

void ProblemList::Add(DocumentProblem problem)
{
    ++count_;
    if (!problem.warning)
        ++errors_;
    if (problems_.size() < listed_)
        problems_.push_back(std::move(problem));
}

ProblemListScope::ProblemListScope(ProblemList &list) : previous_(current) { current = &list; }

ProblemListScope::~ProblemListScope() { current = previous_; }

ProblemList *ProblemListScope::Current() { return current; }

} // namespace tarnwick::xml
