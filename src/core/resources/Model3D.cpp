#include "resources/Model3D.h"

#include "gamefiles/LineReader.h"
#include "gamefiles/TextWriter.h"
#include "gamefiles/Tokenizer.h"
#include "model/StringUtil.h"

#include <optional>
#include <string>
#include <utility>

namespace morvi {

namespace {
bool Within(int index, std::size_t count) {
    return index >= 0 && static_cast<std::size_t>(index) < count;
}
} // namespace

bool ModelQuad::IndicesWithin(std::size_t count) const {
    return Within(m_nA, count) && Within(m_nB, count) && Within(m_nC, count) && Within(m_nD, count);
}
bool ModelTriangle::IndicesWithin(std::size_t count) const {
    return Within(m_nA, count) && Within(m_nB, count) && Within(m_nC, count);
}
bool ModelTexQuad::IndicesWithin(std::size_t count) const {
    return Within(m_nA, count) && Within(m_nB, count) && Within(m_nC, count) && Within(m_nD, count);
}
bool ModelTexTriangle::IndicesWithin(std::size_t count) const {
    return Within(m_nA, count) && Within(m_nB, count) && Within(m_nC, count);
}

// ---------------------------------------------------------------------------------------------
// Reading
//
// - Header: "#" and blank lines are skipped; 3DO, 3DONAME, OBJECTS, PALETTE and TEXTURES are
//   known in any case, anything else is passed over. A text that ends before TEXTURES keeps what
//   was read.
// - Texture table: exactly the announced number of lines, comments included; the word after the
//   key is the name and the entry's index is its position.
// - Objects (only when OBJECTS was not 0): OBJECT starts an object (its name may be quoted),
//   TEXTURE n sets its texture, and VERTICES, QUADS, TRIANGLES and their TEXTURE forms read the
//   announced number of records, skipping comments. Records are added one by one as read, so an
//   absurd count costs nothing beyond the text.
// - A record is its number, an optional colon, then its values separated by blanks and tabs.
// - A VERTICES section ends early at a record whose first word is QUADS; that line is used up.
// - A QUADS or TRIANGLES section of an object without vertices first copies the vertices of the
//   object before it (files share one vertex list that way).
// - When an object is complete, a texture polygon list that names a texture vertex the object
//   does not have is dropped whole, and a polygon naming a missing vertex is dropped together
//   with the texture polygon of the same position, so the two lists stay paired.

namespace {

constexpr CharSet kHeaderSeps(" \t:\x1a");
constexpr CharSet kArgSeps(" \t");
constexpr CharSet kTableSeps(" \t:");
constexpr CharSet kObjectSeps(" \"\t:\x1a");
constexpr CharSet kQuote("\"");
constexpr CharSet kRecordSeps(" \t:");
constexpr CharSet kValueSeps(" \t");

bool IsComment(std::string_view line) {
    line = TrimLeft(line);
    return line.empty() || line.front() == '#';
}

// The colon after a record number may stand apart from it ("0        :1.000"), as our own
// writer puts it; the values start after it.
std::string_view ValuesAfterNumber(std::string_view rest) {
    std::size_t i = 0;
    while (i < rest.size() && kRecordSeps.contains(rest[i]))
        ++i;
    return rest.substr(i);
}

bool IsSectionWord(std::string_view word) {
    return EqualsNoCase(word, "vertices") || EqualsNoCase(word, "quads") || EqualsNoCase(word, "triangles");
}

ModelVertex ParseVertex(Tokenizer& t) {
    ModelVertex v;
    v.m_dX = t.nextDouble(kValueSeps);
    v.m_dY = t.nextDouble(kValueSeps);
    v.m_dZ = t.nextDouble(kValueSeps);
    return v;
}

ModelQuad ParseQuad(Tokenizer& t) {
    ModelQuad q;
    q.m_nA = t.nextInt(kValueSeps);
    q.m_nB = t.nextInt(kValueSeps);
    q.m_nC = t.nextInt(kValueSeps);
    q.m_nD = t.nextInt(kValueSeps);
    q.m_nColor = t.nextInt(kValueSeps);
    q.m_strFill = std::string(t.next(kValueSeps));
    return q;
}

ModelTriangle ParseTriangle(Tokenizer& t) {
    ModelTriangle tri;
    tri.m_nA = t.nextInt(kValueSeps);
    tri.m_nB = t.nextInt(kValueSeps);
    tri.m_nC = t.nextInt(kValueSeps);
    tri.m_nColor = t.nextInt(kValueSeps);
    tri.m_strFill = std::string(t.next(kValueSeps));
    return tri;
}

ModelTexVertex ParseTexVertex(Tokenizer& t) {
    ModelTexVertex v;
    v.m_dX = t.nextDouble(kValueSeps);
    v.m_dY = t.nextDouble(kValueSeps);
    return v;
}

ModelTexQuad ParseTexQuad(Tokenizer& t) {
    ModelTexQuad q;
    q.m_nA = t.nextInt(kValueSeps);
    q.m_nB = t.nextInt(kValueSeps);
    q.m_nC = t.nextInt(kValueSeps);
    q.m_nD = t.nextInt(kValueSeps);
    return q;
}

ModelTexTriangle ParseTexTriangle(Tokenizer& t) {
    ModelTexTriangle tri;
    tri.m_nA = t.nextInt(kValueSeps);
    tri.m_nB = t.nextInt(kValueSeps);
    tri.m_nC = t.nextInt(kValueSeps);
    return tri;
}

// Removes the elements whose position is marked.
template <class T> void EraseMarked(std::vector<T>& list, const std::vector<bool>& marked) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i < marked.size() && marked[i]) continue;
        if (kept != i) list[kept] = std::move(list[i]);
        ++kept;
    }
    list.resize(kept);
}

// Lines of the records read into the current object's lists, for the notes.
struct RecordLines {
    std::vector<int> m_Quads, m_Triangles, m_TexQuads, m_TexTriangles;
};

int LineAt(const std::vector<int>& lines, std::size_t i) {
    return i < lines.size() ? lines[i] : 0;
}

class Reader {
public:
    Reader(std::string_view text, TextNotes* notes) : m_Lines(text), m_pNotes(notes) {}

    Model3D Run() {
        if (!ReadHeader()) return std::move(m_Model);
        ReadTextureTable();
        if (m_nObjects != 0) ReadObjects();
        return std::move(m_Model);
    }

private:
    bool ReadHeader();
    void ReadTextureTable();
    void ReadObjects();
    void HandleObjectLine(std::string_view line);
    void StartObject(Tokenizer& t);
    void FinishObject();
    void ReadSection(std::string_view word, bool texture, int count);
    void ShareVertices();
    bool NextRecord(std::string_view& line);
    void CheckIndices(ModelObject& object);
    void Note(int line, std::string text);

    template <class T, class Parse>
    void ReadRecords(std::vector<T>& list, std::vector<int>* lines, int count, Parse parse,
                     std::string_view stopWord = {});
    template <class T>
    void DropBadTexturePolygons(std::vector<T>& list, const std::vector<int>& lines, std::size_t count,
                                std::string_view what);
    template <class P, class T>
    void DropBadPolygons(std::vector<P>& list, const std::vector<int>& lines, std::vector<T>& partners,
                         std::size_t count, std::string_view what);

    LineReader m_Lines;
    TextNotes* m_pNotes;
    Model3D m_Model;
    int m_nObjects = 0;
    int m_nTextures = 0;
    std::optional<ModelObject> m_Current;
    RecordLines m_RecordLines;
    std::size_t m_nHeldVertices = 0;
};

void Reader::Note(int line, std::string text) {
    if (m_pNotes) m_pNotes->emplace_back(line, std::move(text));
}

bool Reader::ReadHeader() {
    std::string_view line;
    while (m_Lines.next(line)) {
        if (IsComment(line)) continue;
        Tokenizer t(line);
        const std::string_view key = t.next(kHeaderSeps);
        const std::string_view arg = t.next(kArgSeps);
        if (EqualsNoCase(key, "3do"))
            m_Model.m_strVersion = std::string(arg);
        else if (EqualsNoCase(key, "3doname"))
            m_Model.m_strName = std::string(arg);
        else if (EqualsNoCase(key, "objects"))
            m_nObjects = LeadingInt(arg);
        else if (EqualsNoCase(key, "palette"))
            m_Model.m_strPaletteName = std::string(arg);
        else if (EqualsNoCase(key, "textures")) {
            m_nTextures = LeadingInt(arg);
            return true;
        }
    }
    return false;
}

void Reader::ReadTextureTable() {
    std::string_view line;
    for (int i = 0; i < m_nTextures && m_Lines.next(line); ++i) {
        Tokenizer t(line);
        t.next(kTableSeps);
        m_Model.m_Textures.push_back(ModelTexture{i, std::string(t.next(kArgSeps))});
    }
}

void Reader::ReadObjects() {
    std::string_view line;
    while (m_Lines.next(line)) {
        if (!IsComment(line)) HandleObjectLine(line);
    }
    FinishObject();
}

void Reader::HandleObjectLine(std::string_view line) {
    Tokenizer t(line);
    const std::string_view key = t.next(kObjectSeps);
    if (EqualsNoCase(key, "object")) {
        StartObject(t);
        return;
    }
    std::string_view word = key;
    const bool texture = EqualsNoCase(key, "texture");
    if (texture) {
        word = t.next(kObjectSeps);
        if (!IsSectionWord(word)) {
            if (m_Current) m_Current->m_nTextureIndex = LeadingInt(word);
            return;
        }
    }
    if (!IsSectionWord(word)) return;
    const int count = t.nextInt(kObjectSeps);
    if (!m_Current) {
        Note(m_Lines.lineNumber(), "3DO: a section before the first OBJECT line is skipped");
        return;
    }
    ReadSection(word, texture, count);
}

void Reader::StartObject(Tokenizer& t) {
    FinishObject();
    m_Current.emplace();
    m_RecordLines = RecordLines{};
    // OBJECT name and OBJECT "name" both give the name; a quoted name may hold blanks.
    Tokenizer rest(TrimLeft(t.rest()));
    m_Current->m_strName = std::string(Trim(rest.next(kQuote)));
}

void Reader::FinishObject() {
    if (!m_Current) return;
    CheckIndices(*m_Current);
    m_nHeldVertices += m_Current->m_Vertices.size();
    m_Model.m_Objects.push_back(std::move(*m_Current));
    m_Current.reset();
}

void Reader::ReadSection(std::string_view word, bool texture, int count) {
    ModelObject& o = *m_Current;
    RecordLines& lines = m_RecordLines;
    if (EqualsNoCase(word, "vertices")) {
        if (texture)
            ReadRecords(o.m_TextureVertices, nullptr, count, ParseTexVertex);
        else
            ReadRecords(o.m_Vertices, nullptr, count, ParseVertex, "quads");
    } else if (EqualsNoCase(word, "quads")) {
        if (texture) return ReadRecords(o.m_TextureQuads, &lines.m_TexQuads, count, ParseTexQuad);
        ShareVertices();
        ReadRecords(o.m_Quads, &lines.m_Quads, count, ParseQuad);
    } else {
        if (texture) return ReadRecords(o.m_TextureTriangles, &lines.m_TexTriangles, count, ParseTexTriangle);
        ShareVertices();
        ReadRecords(o.m_Triangles, &lines.m_Triangles, count, ParseTriangle);
    }
}

void Reader::ShareVertices() {
    if (!m_Current->m_Vertices.empty() || m_Model.m_Objects.empty()) return;
    const std::vector<ModelVertex>& shared = m_Model.m_Objects.back().m_Vertices;
    // Each copy costs memory the text does not pay for, so the copies have a ceiling.
    if (m_nHeldVertices + shared.size() > kMaxModelVertices) {
        Note(m_Lines.lineNumber(), "3DO: object \"" + m_Current->m_strName +
                                       "\": too many vertices in the model to share the previous object's");
        return;
    }
    m_Current->m_Vertices = shared;
}

bool Reader::NextRecord(std::string_view& line) {
    while (m_Lines.next(line)) {
        if (!IsComment(line)) return true;
    }
    return false;
}

template <class T, class Parse>
void Reader::ReadRecords(std::vector<T>& list, std::vector<int>* lines, int count, Parse parse,
                         std::string_view stopWord) {
    list.clear();
    if (lines) lines->clear();
    std::string_view line;
    for (int i = 0; i < count && NextRecord(line); ++i) {
        Tokenizer key(line);
        const std::string_view number = key.next(kRecordSeps);
        if (!stopWord.empty() && EqualsNoCase(number, stopWord)) return;
        Tokenizer values(ValuesAfterNumber(key.rest()));
        list.push_back(parse(values));
        if (lines) lines->push_back(m_Lines.lineNumber());
    }
}

template <class T>
void Reader::DropBadTexturePolygons(std::vector<T>& list, const std::vector<int>& lines, std::size_t count,
                                    std::string_view what) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].IndicesWithin(count)) continue;
        Note(LineAt(lines, i), "3DO: object \"" + m_Current->m_strName + "\": " + std::string(what) + " " +
                                   std::to_string(i) + " names a texture vertex outside its " +
                                   std::to_string(count) + "; all its " + std::string(what) +
                                   "s are dropped");
        list.clear();
        return;
    }
}

template <class P, class T>
void Reader::DropBadPolygons(std::vector<P>& list, const std::vector<int>& lines, std::vector<T>& partners,
                             std::size_t count, std::string_view what) {
    std::vector<bool> bad(list.size(), false);
    bool any = false;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].IndicesWithin(count)) continue;
        bad[i] = any = true;
        Note(LineAt(lines, i), "3DO: object \"" + m_Current->m_strName + "\": " + std::string(what) + " " +
                                   std::to_string(i) + " names a vertex outside its " +
                                   std::to_string(count) + "; dropped with its texture " + std::string(what));
    }
    if (!any) return;
    EraseMarked(list, bad);
    EraseMarked(partners, bad);
}

void Reader::CheckIndices(ModelObject& o) {
    const RecordLines& l = m_RecordLines;
    DropBadTexturePolygons(o.m_TextureQuads, l.m_TexQuads, o.m_TextureVertices.size(), "texture quad");
    DropBadTexturePolygons(o.m_TextureTriangles, l.m_TexTriangles, o.m_TextureVertices.size(),
                           "texture triangle");
    DropBadPolygons(o.m_Quads, l.m_Quads, o.m_TextureQuads, o.m_Vertices.size(), "quad");
    DropBadPolygons(o.m_Triangles, l.m_Triangles, o.m_TextureTriangles, o.m_Vertices.size(), "triangle");
}

} // namespace

Model3D Read3DO(std::string_view text, TextNotes* notes) {
    return Reader(text, notes).Run();
}

// ---------------------------------------------------------------------------------------------
// Writing

namespace {

constexpr int kColumn = 9;

void PadFrom(TextWriter& w, std::size_t start) {
    const std::size_t length = w.str().size() - start;
    if (length < kColumn) w.str().append(kColumn - length, ' ');
}

// "%-9d"
void Column(TextWriter& w, long long v) {
    const std::size_t start = w.str().size();
    w.integer(v);
    PadFrom(w, start);
}

// "%-9.3f"
void Column(TextWriter& w, double v) {
    const std::size_t start = w.str().size();
    w.fixed(v, 3);
    PadFrom(w, start);
}

template <class T, class Row>
void WriteBlock(TextWriter& w, std::string_view keyword, std::string_view legend, const std::vector<T>& list,
                Row row) {
    if (list.empty()) return;
    w.raw(keyword).raw(" ").integer(static_cast<long long>(list.size())).raw("\r\n");
    w.raw(legend).raw("\r\n");
    for (std::size_t i = 0; i < list.size(); ++i) {
        Column(w, static_cast<long long>(i));
        w.raw(":");
        row(list[i]);
        w.raw("\r\n");
    }
}

void WriteGeometry(TextWriter& w, const ModelObject& o) {
    WriteBlock(w, "VERTICES", "#     num:      <x>         <y>        <z>", o.m_Vertices,
               [&](const ModelVertex& v) {
                   Column(w, v.m_dX);
                   Column(w, v.m_dY);
                   Column(w, v.m_dZ);
               });
    WriteBlock(w, "QUADS", "#     num:      <a>         <b>        <c>        <d>    <color>    <fill>",
               o.m_Quads, [&](const ModelQuad& q) {
                   for (int n : {q.m_nA, q.m_nB, q.m_nC, q.m_nD, q.m_nColor})
                       Column(w, static_cast<long long>(n));
                   w.left(q.m_strFill, kColumn);
               });
    WriteBlock(w, "TRIANGLES", "#     num:      <a>         <b>        <c>    <color>    <fill>",
               o.m_Triangles, [&](const ModelTriangle& t) {
                   for (int n : {t.m_nA, t.m_nB, t.m_nC, t.m_nColor})
                       Column(w, static_cast<long long>(n));
                   w.left(t.m_strFill, kColumn);
               });
}

void WriteTextureMapping(TextWriter& w, const ModelObject& o) {
    WriteBlock(w, "TEXTURE VERTICES", "#     num:      <x>         <y>", o.m_TextureVertices,
               [&](const ModelTexVertex& v) {
                   Column(w, v.m_dX);
                   Column(w, v.m_dY);
               });
    WriteBlock(w, "TEXTURE QUADS", "#     num:      <a>         <b>        <c>        <d>", o.m_TextureQuads,
               [&](const ModelTexQuad& q) {
                   for (int n : {q.m_nA, q.m_nB, q.m_nC, q.m_nD})
                       Column(w, static_cast<long long>(n));
               });
    WriteBlock(w, "TEXTURE TRIANGLES", "#     num:      <a>         <b>        <c>", o.m_TextureTriangles,
               [&](const ModelTexTriangle& t) {
                   for (int n : {t.m_nA, t.m_nB, t.m_nC})
                       Column(w, static_cast<long long>(n));
               });
}

void WriteHeader(TextWriter& w, const Model3D& model) {
    long long vertices = 0;
    long long polygons = 0;
    for (const ModelObject& o : model.m_Objects) {
        vertices += static_cast<long long>(o.m_Vertices.size());
        polygons += static_cast<long long>(o.m_Quads.size() + o.m_Triangles.size());
    }
    w.raw("3DO ").raw(model.m_strVersion).raw("\r\n#\r\n");
    w.raw("# Generated by MORVI version ").raw(model.m_strVersion).raw("\r\n");
    w.raw("# Author: Brennik\r\n#\r\n");
    w.raw("3DONAME  ").raw(model.m_strName).raw("\r\n");
    w.raw("OBJECTS  ").integer(static_cast<long long>(model.m_Objects.size())).raw("\r\n");
    w.raw("VERTICES ").integer(vertices).raw("\r\n");
    w.raw("POLYGONS ").integer(polygons).raw("\r\n");
    w.raw("PALETTE  ").raw(model.m_strPaletteName).raw("\r\n");
}

void WriteTextureTable(TextWriter& w, const Model3D& model) {
    w.raw("#\r\n# Texture Table\r\n# -------------\r\n#\r\n");
    w.raw("TEXTURES ").integer(static_cast<long long>(model.m_Textures.size())).raw("\r\n");
    for (const ModelTexture& texture : model.m_Textures) {
        w.raw("TEXTURE: ")
            .left(texture.m_strName, 14)
            .raw(" # ")
            .integer(texture.m_nIndex, 2, true)
            .raw("\r\n");
    }
}

} // namespace

void Write3DO(const Model3D& model, std::string& out) {
    std::size_t records = 0;
    for (const ModelObject& o : model.m_Objects) {
        records += o.m_Vertices.size() + o.m_Quads.size() + o.m_Triangles.size() +
                   o.m_TextureVertices.size() + o.m_TextureQuads.size() + o.m_TextureTriangles.size();
    }
    out.reserve(out.size() + 512 + 32 * model.m_Textures.size() + 64 * records);
    TextWriter w(out);
    WriteHeader(w, model);
    WriteTextureTable(w, model);
    w.raw("#\r\n# Objects Definitions\r\n# -------------------\r\n#\r\n");
    for (const ModelObject& o : model.m_Objects) {
        w.raw("#\r\nOBJECT ").raw(o.m_strName).raw("\r\n");
        w.raw("TEXTURE ").integer(o.m_nTextureIndex).raw("\r\n");
        WriteGeometry(w, o);
        WriteTextureMapping(w, o);
    }
    w.raw("#\r\n");
}

} // namespace morvi
