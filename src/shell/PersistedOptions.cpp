// The persisted options, in the order they are registered at every start-up.
#include "shell/PersistedOptions.h"

namespace quorrel {

const TPersistedOption PersistedOptionTable[PersistedOptionCount] = {
    // ABC settings
    {"Below", true},
    {"CheckChords", true},
    {"Viola", false},
    {"BFlat", false},
    {"A", false},
    {"NoOrig", false},
    {"Bigger", false},
    {"Renumber", true},
    {"IntPlayer", true},
    {"CountBars", true},
    {"ValSquare", true},
    {"FieldOrder", true},
    {"TopOfTune", true},
    {"abc2midiu", false},
    // the find dialog
    {"SF", false},
    {"FindCase", false},
    {"FindWord", false},
    {"InSection", false},
    {"Prompt", true},
    // the file-list form
    {"SubDirs", true},
    // editing, e-mail, site
    {"WordWrap", true},
    {"EncE", true},
    {"ColourCSS", true},
    {"IgnoreMail", true},
    {"UseIIS", false},
    // the browser (one of three)
    {"BrowserO", true},
    {"BrowserD", true},
    {"BrowserI", true},
    {"ShowMarkers", true},
    {"Online", true},
    // validation
    {"CheckRefs", true},
    {"CheckEXIF", true},
    {"CheckH", true},
    {"CheckQuotes", true},
    {"CheckAmp", true},
    {"CheckSlash", true},
    {"CheckBrackets", true},
    {"CheckTab", true},
    {"CheckNames", true},
    {"CheckImgSize", true},
    {"MixedCase", true},
    // tabs and upload
    {"ShowTitles", true},
    {"MultiRow", true},
    {"ShowTabs", true},
    {"Condense", true},
    {"NoBorder", false},
    {"WarnLocks", false},
    {"Unwanted", true},
    {"DelBlanks", true},
    {"Skip", false},
    {"Sensible", true},
    // the document type (one of six, or none)
    {"DT3F", true},
    {"DT4S", true},
    {"DT4T", true},
    {"DT5", true},
    {"DTXS", true},
    {"DTXT", true},
    // dashes (one of three)
    {"ToMDash", true},
    {"ToNDash", false},
    {"LeaveAlone", false},
    {"SmartQuotes", false},
};

}  // namespace quorrel
