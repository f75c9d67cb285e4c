// Core draws nothing: it may not include Qt Widgets. Move the code to src/ui.
#error "Qt Widgets header included in quorrel_core"
