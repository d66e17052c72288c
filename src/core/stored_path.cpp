#include "core/stored_path.h"

namespace core {

namespace {

PathProblem problemOf(const AnsiPath& path) {
    if (path.bytes.empty() || !path.exact)
        return PathProblem::NotInCodePage;
    return path.bytes.size() > MaxStoredPathBytes ? PathProblem::TooLong : PathProblem::None;
}

} // namespace

StoredPathChoice chooseStoredPath(const AnsiPath& full, const AnsiPath& shortForm) {
    const PathProblem fullProblem = problemOf(full);
    if (fullProblem == PathProblem::None)
        return {PathProblem::None, full.bytes};
    if (problemOf(shortForm) == PathProblem::None)
        return {PathProblem::None, shortForm.bytes};
    return {fullProblem, {}};
}

} // namespace core
