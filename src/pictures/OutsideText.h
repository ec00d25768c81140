#pragma once

#include <string>
#include <string_view>

namespace tallyflow {

// Outside text (interface names and aliases, the adapter's maker, the owner's
// name) made safe to show beside the program's own, in UTF-8:
//  - control characters become visible: C0 controls (tab and newline among
//    them) their Control Pictures (U+2400...), DEL U+2421; C1 controls, the
//    line and paragraph separators, and the directional embeddings,
//    overrides and isolates (U+202A-U+202E, U+2066-U+2069) U+FFFD, so that
//    no name reads backwards; as does a byte that is not UTF-8;
//  - its direction cannot leak out: text that holds right-to-left letters
//    or marks that set a direction is wrapped in FIRST STRONG ISOLATE ...
//    POP DIRECTIONAL ISOLATE. Right-to-left script reads as it should
//    inside, and the program's own text around it keeps its order. Other
//    text (Latin, Greek, Cyrillic, CJK ...) has no direction to leak and is
//    left without marks, which some systems' fonts draw as boxes.
// Apply it once, where the text is shown: a second pass would take the
// first one's isolates for outside ones.
std::string ShownAsOutsideText(std::string_view utf8);
// The same appended to `out`, whose room is kept (a tick shows one on every
// sample).
void AppendShownAsOutsideText(std::string &out, std::string_view utf8);

} // namespace tallyflow
