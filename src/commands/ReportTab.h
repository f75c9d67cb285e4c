#pragma once
// Where a command's report goes: a tab of its own, never the document it reports on.

namespace quorrel {

// Makes the first "Untitled" document current for a report, or a new plain one
// when the current document is itself an untitled one (the report may be about it).
void OpenReportTab();

}  // namespace quorrel
