#include "shell/Langues.h"

namespace Langues {

// Language files are not read yet: the layout texts and the built-in
// messages stay, as when no language file is found.
void EtapeLangue(Creer_POI&, TexteLien1&) {}

} // namespace Langues
