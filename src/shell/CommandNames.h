#pragma once
// Identities of commands that code in more than one place asks about: the
// component names of their menu items, which the dispatcher puts in
// CurrentCommand, and the senders that commands hand on to each other.
namespace quorrel {

inline constexpr char ExitCommand[] = "Exit";
inline constexpr char FindCommand[] = "Find";
inline constexpr char FindNextCommand[] = "FRNext";
inline constexpr char ReplaceCommand[] = "ReplaceM";
inline constexpr char ReplaceTagCommand[] = "RepTag";
inline constexpr char ExtractCommand[] = "Extract";
inline constexpr char FindCorrectionCommand[] = "FindCorr";
inline constexpr char SaveCommand[] = "Save";
inline constexpr char ValidateCommand[] = "Validate";
// Saves without validating first.
inline constexpr char NoValidateCommand[] = "NoValidate";
inline constexpr char ValidateAllCommand[] = "ValAll";
inline constexpr char ReformatCommand[] = "Reformat";
// One file of a Validate all run, validated again on its own.
inline constexpr char ValidateAllOneCommand[] = "ValAll1";
inline constexpr char ServerWindowCommand[] = "ServerM";
inline constexpr char OnlineValidateAllCommand[] = "OnlineValAll";
inline constexpr char UploadCommand[] = "Upload";
inline constexpr char DownloadCommand[] = "Download";
inline constexpr char BuildAllCommand[] = "BuildAll";
inline constexpr char UpdateMenuCommand[] = "UpMenu";
inline constexpr char OpenRawCommand[] = "OpenRaw";
inline constexpr char PlayCommand[] = "Play";
inline constexpr char ExtractPartsCommand[] = "ExParts";
inline constexpr char ReloadCommand[] = "Reload";
inline constexpr char NewTextCommand[] = "NewTXT";
inline constexpr char PrintCommand[] = "Print";
inline constexpr char ValidateCssCommand[] = "ValCSS";

}  // namespace quorrel
