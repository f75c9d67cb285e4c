#pragma once
// The measure of link texts for the page builder's link blocks.

namespace quorrel {

// Installs the measure: DejaVu Sans at 16 pixels, a font every Debian machine has,
// so that pages come out the same wherever they are built.
void InstallLinkTextMetrics();

}  // namespace quorrel
