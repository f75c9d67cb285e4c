#pragma once
// Which files opening offers the slow read, and where an RTF file ends.
#include <string>

#include "shell/ClassifyDocument.h"

namespace quorrel {

// Types whose size after loading differs from the file's by design: HTML, RTF,
// PHP, CSS, ".SQL", ".CSV", ".MP3", ".CS", music files, server logs and binary
// extensions.
bool SizeCheckExempt(const std::string& path, const TDocumentType& type);

// Whether opening asks "File size discrepancy.  Use slow read?": for a loaded size
// outside what the file's size leads to expect, unless the type is exempt; for a
// zero byte, unless the file is RTF (the program ends its RTF with one), has a
// binary extension or is music: there the byte is no damage to the text. In any
// other text a zero byte would cut the text a save writes back.
bool OffersSlowRead(const std::string& path, const TDocumentType& type, bool zeroByte,
                    bool sizeDiffers);

// The program writes RTF with one zero byte after its closing brace, as older
// masters have it too: zero bytes at the end of RTF source are its end, wherever
// it is read.
void DropRtfEndMark(std::string& source);

}  // namespace quorrel
