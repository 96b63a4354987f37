#pragma once

#include "model/CDataLevel.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace morvi {

// The map state a document's views share, as the document file carries it.
struct DocumentMapState {
    std::int32_t m_nZoom = 0;
    std::int32_t m_nGridLevel = 0;
    std::int32_t m_bGridOn = 1;
    std::int32_t m_nCurrentLayer = 0;
    std::int32_t m_bAllLayers = 0;
    double m_dScrollX = 0.0;
    double m_dScrollZ = 0.0;
    std::int32_t m_nMode = 0;
    // Seven further 32-bit document settings, carried through load and save as stored.
    std::array<std::uint32_t, 7> m_FurtherSettings = DefaultFurtherSettings();

    static std::array<std::uint32_t, 7> DefaultFurtherSettings();
    bool operator==(const DocumentMapState&) const = default;
};

// What a document file or GOB archive gives a document: its level and the map state its views
// share. The editing document (CMorviDoc) builds on it with the selection and the history.
class DocumentData : public DocumentMapState {
public:
    DocumentData() : m_pLevel(std::make_unique<CDataLevel>()) {}

    CDataLevel& level() { return *m_pLevel; }
    const CDataLevel& level() const { return *m_pLevel; }

    std::unique_ptr<CDataLevel> m_pLevel;
    // Set when a plain GOB was opened: the first map view fits the level on screen.
    bool m_bNormalizeOnOpen = false;
    std::string m_strPathName;
};

} // namespace morvi
