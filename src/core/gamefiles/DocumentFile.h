#pragma once

#include "gamefiles/AtomicFile.h"
#include "gamefiles/DocumentData.h"
#include "gamefiles/LevelArchive.h"
#include "model/Status.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

namespace morvi {

// The document file: u16 version length, the version text ("1.10"), the map state, seven further
// settings (only in version "1.10" files), then the level's GOB archive with offsets counted from
// its own first byte, so that it can be cut out and used as a GOB file unchanged.
inline constexpr std::string_view kDocumentVersion = "1.10";

// How a document is stored, chosen by its file name, lower-cased: a name containing ".mrv" is a
// document file, else one containing ".gob" a plain GOB archive.
enum class DocumentEncoding { DocumentFile, Gob, Unknown };
DocumentEncoding EncodingOfPath(const std::filesystem::path& path);

// Loads the document file or GOB archive at path into doc. Opening a plain GOB sets
// m_bNormalizeOnOpen. On failure doc is unchanged and the status says why ("Unexpected file
// format." for a name of neither kind).
Status LoadDocument(DocumentData& doc, const std::filesystem::path& path, const LevelChooser& chooser);
// The same from bytes in memory; name chooses the encoding and is named in messages.
Status ReadDocumentBytes(DocumentData& doc, std::span<const std::uint8_t> bytes, std::string_view name,
                         const LevelChooser& chooser);

// Saves doc in the encoding its path's name selects. The old file is replaced only when the whole
// document is written. The document's path and modified flag are the caller's: an autosave to a
// recovery folder must not change them.
Status SaveDocument(DocumentData& doc, const std::filesystem::path& path);
// Writes the document-file encoding. On failure the sink may hold a partial document.
Status WriteDocument(DocumentData& doc, ByteSink& sink);
// Appends the document-file encoding to out; out is left as it was on failure.
Status WriteDocumentBytes(DocumentData& doc, std::vector<std::uint8_t>& out);

} // namespace morvi
