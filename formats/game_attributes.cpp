#include "formats/game_attributes.h"

namespace tessera {
namespace {

// Attribute lines of games are read, never written.
template <class V>
class CGameRecord : public CLexAttributeFunction<CGame, V> {
public:
    CGameRecord(std::string_view name, typename CLexAttributeFunction<CGame, V>::Setter setter,
                typename CLexAttributeFunction<CGame, V>::Getter getter)
        : CLexAttributeFunction<CGame, V>(name, setter, getter, &CGame::WritesAttributeLines) {}
};

}  // namespace

template <>
std::span<const CLexAttribute<CGame>* const> AttributeTableOf<CGame>() {
    static const CGameRecord<uint32_t> minPopulation("MinPopulation", &CGame::SetMinPopulation,
                                                     &CGame::MinPopulation);
    static const CGameRecord<uint32_t> maxPopulation("MaxPopulation", &CGame::SetMaxPopulation,
                                                     &CGame::MaxPopulation);
    static const CGameRecord<int32_t> maxGeneration("MaxPopGeneration", &CGame::SetMaxPopulationGeneration,
                                                    &CGame::MaxPopulationGeneration);
    static const CGameRecord<int32_t> minGeneration("MinPopGeneration", &CGame::SetMinPopulationGeneration,
                                                    &CGame::MinPopulationGeneration);
    static const CLexAttribute<CGame>* const table[] = {&minPopulation, &maxPopulation, &maxGeneration,
                                                        &minGeneration};
    return table;
}

}  // namespace tessera
