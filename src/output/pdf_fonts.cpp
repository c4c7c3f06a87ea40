#include "output/pdf_fonts.h"

#include "output/pdf_document.h"

#include <hb-subset.h>
#include <hb.h>

#include <array>
#include <cmath>
#include <memory>

namespace nikra {

namespace {

// The tables a TrueType font program in a PDF needs to draw its glyphs unhinted, as the
// program draws every text (character maps, names and layout tables are not used: the
// content names glyphs by number).
constexpr std::array<const char *, 6> kProgramTables{"head", "hhea", "maxp", "hmtx", "loca", "glyf"};

quint16 u16(const QByteArray &table, qsizetype at)
{
    if (at + 2 > table.size())
        return 0;
    return quint16((quint8(table[at]) << 8) | quint8(table[at + 1]));
}

qint16 s16(const QByteArray &table, qsizetype at) { return qint16(u16(table, at)); }

// A face's name as a PDF name: its family without spaces, letters, digits and hyphens only.
QByteArray baseNameOf(const QRawFont &face)
{
    QByteArray name;
    for (const QChar c : face.familyName() + (face.styleName() == u"Regular" || face.styleName().isEmpty()
                                                   ? QString()
                                                   : u'-' + face.styleName())) {
        if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-')
            name.append(char(c.unicode()));
    }
    return name.isEmpty() ? QByteArrayLiteral("Font") : name;
}

// Six capital letters from the face's name and its glyphs: the same subset gets the same
// tag on every run, another subset of the face (most likely) another.
QByteArray subsetTag(const QByteArray &name, const std::vector<bool> &used)
{
    quint64 h = 14695981039346656037ull;
    const auto mix = [&h](quint64 byte) {
        h ^= byte;
        h *= 1099511628211ull;
    };
    for (const char c : name)
        mix(quint8(c));
    for (std::size_t g = 0; g < used.size(); ++g) {
        if (used[g]) {
            mix(g & 0xff);
            mix(g >> 8);
        }
    }
    QByteArray tag(6, 'A');
    for (char &c : tag) {
        c = char('A' + h % 26);
        h /= 26;
    }
    return tag;
}

struct HbBlob {
    hb_blob_t *blob;
    ~HbBlob() { hb_blob_destroy(blob); }
};
struct HbFace {
    hb_face_t *face;
    ~HbFace() { hb_face_destroy(face); }
};

// The glyphs used, subset from the face's own tables with their numbers kept.
std::optional<QByteArray> subsetProgram(const std::vector<std::pair<const char *, QByteArray>> &tables,
                                        const std::vector<bool> &used)
{
    HbFace builder{hb_face_builder_create()};
    for (const auto &[tag, table] : tables) {
        if (table.isEmpty())
            continue;
        // The tables outlive the builder's use of them: read in place, not copied.
        HbBlob blob{hb_blob_create(table.constData(), unsigned(table.size()), HB_MEMORY_MODE_READONLY, nullptr,
                                   nullptr)};
        if (!hb_face_builder_add_table(builder.face, hb_tag_from_string(tag, 4), blob.blob))
            return std::nullopt;
    }
    HbBlob sfnt{hb_face_reference_blob(builder.face)};
    HbFace whole{hb_face_create(sfnt.blob, 0)};
    std::unique_ptr<hb_subset_input_t, decltype(&hb_subset_input_destroy)> input(hb_subset_input_create_or_fail(),
                                                                                  &hb_subset_input_destroy);
    if (!input)
        return std::nullopt;
    hb_set_t *glyphs = hb_subset_input_glyph_set(input.get());
    hb_set_add(glyphs, 0);  // .notdef, which every font program keeps first
    for (std::size_t g = 0; g < used.size(); ++g) {
        if (used[g])
            hb_set_add(glyphs, hb_codepoint_t(g));
    }
    hb_subset_input_set_flags(input.get(), HB_SUBSET_FLAGS_RETAIN_GIDS | HB_SUBSET_FLAGS_NO_HINTING);
    HbFace subset{hb_subset_or_fail(whole.face, input.get())};
    if (!subset.face)
        return std::nullopt;
    HbBlob program{hb_face_reference_blob(subset.face)};
    unsigned length = 0;
    const char *data = hb_blob_get_data(program.blob, &length);
    if (!data || length == 0)
        return std::nullopt;
    return QByteArray(data, qsizetype(length));
}

// Font units in thousandths of an em, as the document writes them.
double perMille(double units, int unitsPerEm) { return std::round(units * 1000.0 * 1000.0 / unitsPerEm) / 1000.0; }

QByteArray toUnicodeMap(const std::map<quint32, char32_t> &shows)
{
    QByteArray out = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                     "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                     "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                     "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    // At most 100 entries a block.
    auto it = shows.begin();
    while (it != shows.end()) {
        const std::size_t n = std::min<std::size_t>(100, std::size_t(std::distance(it, shows.end())));
        out.append(QByteArray::number(qulonglong(n)) + " beginbfchar\n");
        for (std::size_t i = 0; i < n; ++i, ++it) {
            out.append('<');
            appendHex4(out, it->first);
            out.append("> <");
            const char32_t c = it->second;
            appendUtf16Hex(out, QString::fromUcs4(&c, 1));
            out.append(">\n");
        }
        out.append("endbfchar\n");
    }
    out.append("endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n");
    return out;
}

} // namespace

std::optional<int> PdfFonts::fontFor(const QRawFont &raw)
{
    const QString key = raw.familyName() + u'\n' + raw.styleName() + u'\n' + QString::number(raw.weight()) + u'\n'
                        + QString::number(int(raw.style()));
    if (const auto it = known_.find(key); it != known_.end())
        return it->second < 0 ? std::nullopt : std::optional<int>(it->second);

    // Each table read once: a Japanese face's outlines are megabytes.
    std::vector<std::pair<const char *, QByteArray>> tables;
    for (const char *tag : kProgramTables)
        tables.emplace_back(tag, raw.fontTable(tag));
    const QByteArray &head = tables[0].second;
    const QByteArray &hhea = tables[1].second;
    const QByteArray &maxp = tables[2].second;
    const QByteArray &hmtx = tables[3].second;
    const int unitsPerEm = u16(head, 18);
    const int glyphCount = u16(maxp, 4);
    const int metrics = u16(hhea, 34);
    if (head.size() < 54 || hhea.size() < 36 || unitsPerEm <= 0 || glyphCount <= 0 || metrics <= 0
        || hmtx.size() < 4 * qsizetype(metrics) || tables[4].second.isEmpty() || tables[5].second.isEmpty()) {
        known_.emplace(key, -1);
        return std::nullopt;
    }
    Face face;
    face.baseName = baseNameOf(raw);
    face.unitsPerEm = unitsPerEm;
    face.widths.resize(std::size_t(glyphCount));
    for (int g = 0; g < glyphCount; ++g)
        face.widths[std::size_t(g)] = perMille(u16(hmtx, 4 * qsizetype(std::min(g, metrics - 1))), unitsPerEm);
    face.used.assign(std::size_t(glyphCount), false);

    QByteArray &d = face.descriptor;
    const auto put = [&](const char *key, double units) {
        d.append(key);
        appendNumber(d, perMille(units, unitsPerEm), 3);
    };
    d.append("/Flags 4 /FontBBox [");
    put("", s16(head, 36));
    put(" ", s16(head, 38));
    put(" ", s16(head, 40));
    put(" ", s16(head, 42));
    d.append("] /ItalicAngle 0");
    put(" /Ascent ", s16(hhea, 4));
    put(" /Descent ", s16(hhea, 6));
    put(" /CapHeight ", s16(hhea, 4));
    d.append(" /StemV 80");

    face.tables = std::move(tables);
    faces_.push_back(std::move(face));
    const int id = int(faces_.size()) - 1;
    known_.emplace(key, id);
    return id;
}

double PdfFonts::width(int font, quint32 glyph) const
{
    const Face &f = faces_[std::size_t(font)];
    return glyph < f.widths.size() ? f.widths[glyph] : 0;
}

void PdfFonts::use(int font, quint32 glyph, char32_t shows)
{
    Face &f = faces_[std::size_t(font)];
    if (glyph >= f.used.size())
        return;
    f.used[glyph] = true;
    if (shows != 0)
        f.shows.emplace(glyph, shows);
}

std::optional<PdfFontParts> PdfFonts::parts(int font) const
{
    const Face &f = faces_[std::size_t(font)];
    PdfFontParts parts;
    parts.name = subsetTag(f.baseName, f.used) + '+' + f.baseName;
    std::optional<QByteArray> program = subsetProgram(f.tables, f.used);
    if (!program)
        return std::nullopt;
    parts.program = std::move(*program);
    // Runs of consecutive glyphs: "3 [722 500] 17 [333]".
    for (std::size_t g = 0; g < f.used.size();) {
        if (!f.used[g]) {
            ++g;
            continue;
        }
        if (!parts.widths.isEmpty())
            parts.widths.append(' ');
        parts.widths.append(QByteArray::number(qulonglong(g)) + " [");
        for (bool first = true; g < f.used.size() && f.used[g]; ++g, first = false) {
            if (!first)
                parts.widths.append(' ');
            appendNumber(parts.widths, f.widths[g], 3);
        }
        parts.widths.append(']');
    }
    parts.descriptor = f.descriptor;
    parts.toUnicode = toUnicodeMap(f.shows);
    return parts;
}

} // namespace nikra
