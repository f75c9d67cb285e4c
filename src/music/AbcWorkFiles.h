#pragma once
// The music tools' work files: one spelling each, used by every command. The
// temporary ones live in the user's private TempFolder; the format codes and the
// default tune in the documents folder. Paths are Windows-1252 bytes like every
// path of the program; NativePath gives what the tools are handed.
#include <string>

namespace quorrel {

inline constexpr char AbcCodesName[] = "ABCCodes.txt";     // documents folder
inline constexpr char DefaultTuneName[] = "Default.abc";   // documents folder
inline constexpr char TempAbcName[] = "Quorrel.abc";       // the prepared tune
inline constexpr char TempMidiName[] = "Quorrel.Mid";      // abc2midi's output
inline constexpr char AbcErrorsName[] = "ABCErrors.Txt";   // abc2midi, TiMidity, LAME
inline constexpr char AbcPsErrorsName[] = "ABCPSErr.Txt";  // abcm2ps
inline constexpr char ToolTextName[] = "Quorrel.txt";      // abc2abc, version queries
inline constexpr char AbcPsName[] = "ABC.PS";
inline constexpr char AbcPdfName[] = "ABC.PDF";
inline constexpr char TempWavName[] = "Temp.wav";
inline constexpr char AnalysisName[] = "Quorrel.htm";
inline constexpr char PartsAbcName[] = "temp.abc";  // the extracted parts

std::string TempAbcFile();
std::string TempMidiFile();
std::string AbcErrorFile();    // ABCErrors.Txt
std::string AbcPsErrorFile();  // ABCPSErr.Txt
std::string ToolTextFile();    // Quorrel.txt
std::string AbcPsFile();
std::string AbcPdfFile();
std::string TempWavFile();
std::string AnalysisFile();
std::string PartsAbcFile();
// "ABCCodes.txt": AbcCodesPath once start-up has set it, else in the documents folder.
std::string AbcCodesFile();

// Which program reads a tune file. abcm2ps takes its text as UTF-8 (it shows the
// Windows-1252 quotes, dashes and euro sign only that way); abc2midi and abc2abc
// copy the bytes they read, so they get the document's own bytes and abc2abc's
// output reads back unchanged.
enum class TAbcReader { Abc2midi, Abcm2ps, Abc2abc };
// The bytes of a tune text as that program is to read them.
std::string ToolText(const std::string& text, TAbcReader reader);
// Writes the tune text for the program; false when the file cannot be written.
bool WriteTuneFile(const std::string& path, const std::string& text, TAbcReader reader);

// Small file helpers of the music tools.
bool ReadFileBytes(const std::string& path, std::string& bytes);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool DeleteWorkFile(const std::string& path);  // true when the file is gone

}  // namespace quorrel
