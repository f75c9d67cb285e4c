// Core draws nothing: it may not include Qt Gui. Move the code to src/ui.
#error "Qt Gui header included in quorrel_core"
