#pragma once
// The running instances of the program for this user: each registers its process
// and its window title in a list in the private work folder, and a dead process
// never counts, however it ended. This answers "is another instance running?"
// at start and at exit without looking at other programs' windows.
#include <string>
#include <vector>

namespace quorrel {

// Adds this process to the list (or updates its entry) with its window title.
void RegisterInstance(const std::string& title);
// Changes this process's title in the list (registers it when it is not listed).
void SetInstanceTitle(const std::string& title);
// Takes this process off the list.
void UnregisterInstance();

// Live instances other than this process.
int OtherLiveInstances();
// Titles of the live instances, this one included, one per instance.
std::vector<std::string> LiveInstanceTitles();
// Live instances (this one included) whose title contains the fragment.
int CountInstanceWindows(const std::string& fragment);

// The list's folder; created when missing.
std::string InstanceFolder();

}  // namespace quorrel
