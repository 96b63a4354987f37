#include "gamefiles/DocumentFile.h"

#include "model/ByteStream.h"
#include "model/StringUtil.h"

#include <algorithm>
#include <cmath>

namespace morvi {

namespace {

constexpr std::string_view kUnexpectedFormat = "Unexpected file format.";
// Version length and text, five i32, two f64, one i32, seven further words.
constexpr std::uint64_t kLongestHeader = 2 + 0xFFFF + 5 * 4 + 2 * 8 + 4 + 7 * 4;

struct DocumentHeader : DocumentMapState {
    std::string m_strVersion;
    // Where the archive starts.
    std::uint64_t m_nSize = 0;
};

void ParseHeader(ByteReader& in, DocumentHeader& h) {
    const std::string_view field = in.chars(in.u16());
    h.m_strVersion = std::string(field.substr(0, field.find('\0')));
    h.m_nZoom = in.i32();
    h.m_nGridLevel = in.i32();
    h.m_bGridOn = in.i32();
    h.m_nCurrentLayer = in.i32();
    h.m_bAllLayers = in.i32();
    // A scroll position that is not a number would make every map coordinate one; it reads as 0.
    const auto finite = [](double v) { return std::isfinite(v) ? v : 0.0; };
    h.m_dScrollX = finite(in.f64());
    h.m_dScrollZ = finite(in.f64());
    h.m_nMode = in.i32();
    if (h.m_strVersion == kDocumentVersion)
        for (std::uint32_t& word : h.m_FurtherSettings)
            word = in.u32();
    h.m_nSize = in.position();
}

Status ReadHeader(ByteSource& source, std::string_view name, DocumentHeader& header) {
    std::vector<std::uint8_t> prefix(static_cast<std::size_t>(std::min(source.size(), kLongestHeader)));
    if (!source.ReadAt(0, prefix))
        return Status::Fail(std::string(name) + ": the document header cannot be read.");
    ByteReader in(prefix);
    try {
        ParseHeader(in, header);
    } catch (const FormatError& e) {
        return Status::Fail(std::string(name) + ": the document header is cut short: " + e.what() + ".");
    }
    return Status::Ok();
}

void ApplyHeader(const DocumentHeader& h, DocumentData& doc) {
    static_cast<DocumentMapState&>(doc) = h;
}

void WriteHeader(const DocumentData& doc, ByteSink& sink) {
    std::vector<std::uint8_t> bytes;
    ByteWriter out(bytes);
    out.u16(static_cast<std::uint16_t>(kDocumentVersion.size()));
    out.chars(kDocumentVersion);
    out.i32(doc.m_nZoom);
    out.i32(doc.m_nGridLevel);
    out.i32(doc.m_bGridOn);
    out.i32(doc.m_nCurrentLayer);
    out.i32(doc.m_bAllLayers);
    out.f64(doc.m_dScrollX);
    out.f64(doc.m_dScrollZ);
    out.i32(doc.m_nMode);
    for (std::uint32_t word : doc.m_FurtherSettings)
        out.u32(word);
    sink.Write(bytes);
}

// Nothing reaches doc before the header, the archive and the level have all been read.
Status ReadDocument(DocumentData& doc, ByteSource& source, DocumentEncoding encoding, std::string_view name,
                    const LevelChooser& chooser) {
    if (encoding == DocumentEncoding::Unknown) return Status::Fail(std::string(kUnexpectedFormat));
    DocumentHeader header;
    if (encoding == DocumentEncoding::DocumentFile)
        if (Status read = ReadHeader(source, name, header); !read) return read;
    GobArchive archive;
    if (Status read = ReadGob(source, header.m_nSize, name, archive); !read) return read;
    if (Status loaded = LoadLevelFromArchive(doc.level(), std::move(archive), name, chooser, kGeneratorTitle);
        !loaded)
        return loaded;
    if (encoding == DocumentEncoding::DocumentFile)
        ApplyHeader(header, doc);
    else
        doc.m_bNormalizeOnOpen = true;
    return Status::Ok();
}

} // namespace

// Only the file name counts: a folder called "maps.mrv" does not make a GOB inside it a document.
DocumentEncoding EncodingOfPath(const std::filesystem::path& path) {
    const std::string name = ToLower(path.filename().string());
    if (name.find(".mrv") != std::string::npos) return DocumentEncoding::DocumentFile;
    if (name.find(".gob") != std::string::npos) return DocumentEncoding::Gob;
    return DocumentEncoding::Unknown;
}

Status LoadDocument(DocumentData& doc, const std::filesystem::path& path, const LevelChooser& chooser) {
    const DocumentEncoding encoding = EncodingOfPath(path);
    if (encoding == DocumentEncoding::Unknown) return Status::Fail(std::string(kUnexpectedFormat));
    FileSource source;
    if (Status opened = source.Open(path); !opened) return opened;
    return ReadDocument(doc, source, encoding, path.string(), chooser);
}

Status ReadDocumentBytes(DocumentData& doc, std::span<const std::uint8_t> bytes, std::string_view name,
                         const LevelChooser& chooser) {
    SpanSource source(bytes);
    return ReadDocument(doc, source, EncodingOfPath(std::filesystem::path(name)), name, chooser);
}

Status WriteDocument(DocumentData& doc, ByteSink& sink) {
    WriteHeader(doc, sink);
    return WriteLevelArchive(doc.level(), sink, kGeneratorTitle);
}

Status WriteDocumentBytes(DocumentData& doc, std::vector<std::uint8_t>& out) {
    const std::size_t before = out.size();
    VectorSink sink(out);
    Status written = WriteDocument(doc, sink);
    if (!written) out.resize(before);
    return written;
}

Status SaveDocument(DocumentData& doc, const std::filesystem::path& path) {
    const DocumentEncoding encoding = EncodingOfPath(path);
    if (encoding == DocumentEncoding::Unknown) return Status::Fail(std::string(kUnexpectedFormat));
    return WriteFileAtomically(path, [&](ByteSink& sink) {
        if (encoding == DocumentEncoding::DocumentFile) return WriteDocument(doc, sink);
        return WriteLevelArchive(doc.level(), sink, kGeneratorTitle);
    });
}

} // namespace morvi
