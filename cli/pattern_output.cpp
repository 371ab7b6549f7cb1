#include "cli/pattern_output.h"

#include <ostream>

#include "config/parameters.h"
#include "formats/description_lines.h"
#include "formats/game_file.h"
#include "formats/game_format.h"
#include "formats/xl_writer.h"
#include "games/game.h"

namespace tessera::cli {

void WritePattern(CGame& game, EOutputFormat format, std::ostream& out) {
    switch (format) {
        case EOutputFormat::Default:
            SaveGame(game, out);  // XLife or the game format, as "WriteXLifeFormat" says
            break;
        case EOutputFormat::XLife:
            WriteXLifeGame(game, out);
            break;
        case EOutputFormat::Rle:
            // As the XLife writer heads a game (originator, description), then always the RLE form.
            if (!game.Originator().empty()) out << "#O " << game.Originator() << "\n";
            WriteDescription(out, "#C", game.Description(), params::LineLength.GetUInt());
            WriteXLifeRle(game.Current(), out);
            break;
        case EOutputFormat::Game:
            WriteGame(game, out);
            break;
    }
    out.flush();
}

}  // namespace tessera::cli
