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

inline constexpr char kAnswerTooLarge[] =
    "R\xE9ponse de plus de %lu octets abandonn\xE9" "e (%s)";
inline constexpr char kUntrustedServer[] =
    "Action %ld refus\xE9" "e: la page de dialogue (%s) ou l'origine de la r\xE9ponse (%s) n'est pas un "
    "serveur de confiance (valeur Servers de Software\\KEBO)";

}  // namespace npvlx::texts
