#pragma once

#include <array>
#include <span>
#include <string_view>

namespace morvi {

// What the file dialogs offer when an archive member is saved as a file of its own: a marker that
// the member's name holds, the dialog's filter and its default extension.
struct MemberFileType {
    std::string_view m_Marker;
    std::string_view m_Filter;
    std::string_view m_Extension;
};

// The GOB manager's table, searched in this order; a name without any marker is offered as a GOB.
inline constexpr std::array<MemberFileType, 17> kGobMemberTypes{{
    {".LEV", "LEV Files (*.lev)|*.lev||", "lev"},
    {".INF", "INF Files (*.inf)|*.inf||", "inf"},
    {".O", "O Files (*.o)|*.o||", "o"},
    {".3DO", "3do Files (*.3do)|*.3do||", "3do"},
    {".GOL", "Gol Files (*.gol)|*.gol||", "gol"},
    {".VUE", "Vue Files (*.vue)|*.vue||", "vue"},
    {".WAX", "Wax Files (*.wax)|*.wax||", "wax"},
    {".FME", "Fme Files (*.fme)|*.fme||", "fme"},
    {".BM", "Bm Files (*.bm)|*.bm||", "bm"},
    {".LST", "Lst Files (*.lst)|*.lst||", "lst"},
    {".GMD", "Gmd Files (*.gmd)|*.gmd||", "gmd"},
    {".VOC", "Voc Files (*.voc)|*.voc||", "voc"},
    {".LVL", "Lvl Files (*.lvl)|*.lvl||", "lvl"},
    {".CMP", "Cmp Files (*.cmp)|*.cmp||", "cmp"},
    {".PAL", "Pal Files (*.pal)|*.pal||", "pal"},
    {".MSG", "Msg Files (*.msg)|*.msg||", "msg"},
    {".LFD", "Lfd Files (*.lfd)|*.lfd||", "lfd"},
}};
inline constexpr MemberFileType kGobArchiveType{"", "GOB Files (*.gob)|*.gob||", "GOB"};

// The Files dialog's table for the level's own resources, searched in this order. Members it does
// not name (LFD and DLT files) are offered under kAnyFileType, without a default extension.
inline constexpr std::array<MemberFileType, 10> kLevelFileTypes{{
    {".3DO", "3do Files (*.3do)|*.3do||", "3do"},
    {".VUE", "Vue Files (*.vue)|*.vue||", "vue"},
    {".WAX", "Wax Files (*.wax)|*.wax||", "wax"},
    {".FME", "Fme Files (*.fme)|*.fme||", "fme"},
    {".BM", "Bm Files (*.bm)|*.bm||", "bm"},
    {".LST", "Lst Files (*.lst)|*.lst||", "lst"},
    {".GMD", "Gmd Files (*.gmd)|*.gmd||", "gmd"},
    {".VOC", "Voc Files (*.voc)|*.voc||", "voc"},
    {".CMP", "Cmp Files (*.cmp)|*.cmp||", "cmp"},
    {".PAL", "Pal Files (*.pal)|*.pal||", "pal"},
}};
inline constexpr MemberFileType kAnyFileType{"", "All Files (*)|*||", ""};

// The first entry of the table whose marker the name holds (compared upper-cased, anywhere in the
// name: "MAP.BMX" holds ".BM"); fallback when none does.
const MemberFileType& FindMemberFileType(std::string_view name, std::span<const MemberFileType> table,
                                         const MemberFileType& fallback);

} // namespace morvi
