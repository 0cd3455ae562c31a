#include "tools/vtservice/HelpPages.h"

namespace vt::service {
namespace {

constexpr HelpPage kPages[] = {
    {"NES_HELP.php", "NES controls",
     "<p>NES games run in the nester emulator. The NES pad has a direction pad, Select, Start, "
     "A and B.</p>\n"
     "<p>Open <b>Controls</b> in the game browser with NES selected to set the keys or joystick "
     "inputs of controller 1 and controller 2: click a field and press the key or joystick "
     "button you want, or use <b>Set All</b> to set every button in turn. OK saves the bindings "
     "into nester's own settings.</p>\n"
     "<p>While a game runs, Esc leaves full screen and the window's menu closes the game.</p>"},
    {"SNES_HELP.php", "Super Nintendo controls",
     "<p>Super Nintendo games run in the ZSNES emulator and need a full account. The pad has a "
     "direction pad, Select, Start, A, B, X, Y and the shoulder buttons L and R.</p>\n"
     "<p>Open <b>Controls</b> with SNES selected to bind the buttons of player 1 and player 2; "
     "OK writes them into zsnesw.cfg beside the emulator. Keyboard keys and joystick buttons "
     "both work, and each field accepts either.</p>"},
    {"GEN_HELP.php", "Genesis controls",
     "<p>Genesis games run in the Gens emulator and need a full account. The three-button pad "
     "has a direction pad, Start, A, B and C.</p>\n"
     "<p>Open <b>Controls</b> with Genesis selected to bind the buttons of player 1 and player "
     "2; OK writes them into gens.cfg. Switching the player lamp saves the player you leave.</p>"},
    {"GBC_HELP.php", "Game Boy controls",
     "<p>Game Boy and Game Boy Color games run in the Gest emulator and need a full account. "
     "The console has a direction pad, Select, Start, A and B; Gest adds Auto A and Auto B, "
     "which repeat the button while held.</p>\n"
     "<p>Open <b>Controls</b> with Gameboy selected: the keyboard column sets every button, the "
     "joystick column the buttons other than the directions (a joystick's stick or pad always "
     "steers). OK writes gest.cfg.</p>"},
    {"SMS_HELP.php", "Master System, Game Gear and ColecoVision controls",
     "<p>Master System, Game Gear and ColecoVision games run in the MEKA emulator. The pad has "
     "a direction pad, Button 1, Button 2 and Pause (Start on the Game Gear).</p>\n"
     "<p>Open <b>Controls</b> with any of the three consoles selected; all three share one set "
     "of bindings in meka.inp. ColecoVision's keypad is on the numeric pad: keys 0 to 9, Minus "
     "for * and Equals for #.</p>"},
    {"2600_HELP.php", "Atari 2600 controls",
     "<p>Atari 2600 games use fixed keys:</p>\n"
     "<table><tr><th>Console input</th><th>Player 1</th><th>Player 2</th></tr>"
     "<tr><td>Up</td><td>Up</td><td>E</td></tr><tr><td>Down</td><td>Down</td><td>D</td></tr>"
     "<tr><td>Left</td><td>Left</td><td>S</td></tr><tr><td>Right</td><td>Right</td><td>F</td></tr>"
     "<tr><td>Fire</td><td>Ctrl</td><td>N</td></tr></table>\n"
     "<p>F1 starts or restarts a game, F2 is Game Select. Any joystick set up in Windows works "
     "for player 1. Paddle games work with PS/2 mice only, not with USB mice.</p>"},
};

}  // namespace

std::span<const HelpPage> HelpPages() { return kPages; }

}  // namespace vt::service
