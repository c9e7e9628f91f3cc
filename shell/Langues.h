#pragma once

class Creer_POI;
class TexteLien1;

namespace Langues {
// Applies the language file chosen by Langue to both windows, the message
// table and the help address.
void EtapeLangue(Creer_POI& principale, TexteLien1& description);
} // namespace Langues
