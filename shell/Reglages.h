#pragma once

#include <QSettings>
#include <memory>

// The per-user settings store: INI file of organisation and application
// "Quaylight", group "Startup".
namespace Reglages {

inline const char* const Groupe = "Startup";
inline const char* const Creer_POI_MargeG = "Creer_POI_MargeG";
inline const char* const Creer_POI_Haut = "Creer_POI_Haut";
inline const char* const TexteLien1_MargeG = "TexteLien1_MargeG";
inline const char* const TexteLien1_Haut = "TexteLien1_Haut";
inline const char* const Lang = "Lang";

std::unique_ptr<QSettings> Ouvrir();
// The stored text of a key of the group, "" when absent.
QString Lire(const char* cle);

} // namespace Reglages
