// The texts the plug-in shows or reports, byte for byte in the ANSI code
// page (1252).
#pragma once

namespace npvlx::texts {

inline constexpr char kBoxTitle[] = "KEBO - Informations";
inline constexpr char kNotInstalled[] =
    "KEBO n'est pas install\xE9 sur votre poste (ou est mal install\xE9).";
// "Le composant " + name + kNeedsInstalling
inline constexpr char kComponentPrefix[] = "Le composant ";
inline constexpr char kNeedsInstalling[] = " a besoin d'\xEAtre install\xE9 sur votre machine.";
inline constexpr char kPleaseWait[] = "Veuillez patienter, chargement en cours...";

// Diagnostics.
inline constexpr char kBadAction[] = "Num\xE9ro d'action (%ld) non valide (fonction vExecuteAction)";
inline constexpr char kBadOwner[] =
    "Instance de plugin non valide dans la fonction ExecuteCmd() de Callback";
inline constexpr char kBadCallback[] =
    "Interface de callback invalide, fonction vRemoveAppFromList (Sink=%ld)";
inline constexpr char kNoDialogPage[] =
    "SendToServer: page de dialogue vers le serveur non d\xE9" "finie (%s)";

}  // namespace npvlx::texts
