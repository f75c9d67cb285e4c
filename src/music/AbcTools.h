#pragma once
// Where the music programs are: abc2midi (or abc2midiu), abcm2ps, abc2abc and
// midi2abc of the ABC tools, Ghostscript and the PDF viewer; and the commands that
// show or change them. Paths are Windows-1252 bytes; hand NativePath of them to
// RunHidden.
#include <string>

namespace quorrel {

// The folder of the ABC programs (with "/"), found on PATH; "" when abc2midi is not
// installed, so that each program is looked up by its name when it runs.
extern std::string AbcToolFolder;
extern std::string Abc2AbcPath;
extern std::string Abcm2psPath;
extern std::string Abc2MidiPath;  // abc2midiu when "Use abc2midiu" was checked
extern std::string Midi2AbcPath;
// Ghostscript's program ([System] "Ghostscript" when chosen) and its folder.
extern std::string GhostscriptPath;
extern std::string GhostscriptFolder;

inline constexpr int AbcProgramsHelp = 55020;

// The ABC menu opens: locates the programs the first time (while GhostscriptPath is
// empty). Ends the command with a message when Ghostscript cannot be found.
void ABCClick();
// "Ghostscript location": lets the user choose the Ghostscript program.
void GhostLocClick();
// "PDF viewer": asks for the PDF viewer program.
void PDFViewerClick();
// "Version info": one message with the versions of the programs.
void VerInfoClick();
// "ABC Help" and "ABC programs": the help topic on the ABC programs.
void HelpABCMClick();

// Gives the commands above to their menu items (those the menu holds).
void InstallAbcToolCommands();

// Back to the state of a freshly started program: no program located, no tune
// found (TunePrep), no report viewer or jump hooks (ReportView).
void ResetAbcTools();

}  // namespace quorrel
