#include "core/shelf_search.h"

#include <algorithm>
#include <array>
#include <limits>
#include <set>
#include <span>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/paths.h"
#include "core/shelf_database.h"
#include "core/sqlite.h"
#include "core/text_folding.h"
#include "platform/case_fold.h"
#include "platform/text_codec.h"

namespace tomlet {

namespace {

// The fields in the order of the object table's text columns.
constexpr std::array<std::pair<TFindField, std::string_view>, 5> Columns{{
    {ffCaption, "caption"},
    {ffHint, "hint"},
    {ffPathFileName, "path"},
    {ffParameters, "parameters"},
    {ffComments, "comments"},
}};

// The object table's columns as both queries give them.
enum Column { colKey, colParent, colType, colAction, colFirstText };

constexpr const char* ObjectColumns =
    "SELECT id, parent, type, action, caption, hint, path, parameters, comments FROM object ";
// The text indexes and the fields each holds.
constexpr std::array<std::pair<std::string_view, std::uint8_t>, 2> TextIndexes{{
    {"object_name", ffCaption | ffPathFileName},
    {"object_note", ffHint | ffParameters | ffComments},
}};

constexpr const char* TreePathSeparator = " / ";
// A tree path stops climbing past this many bytes of captions: a catalogue may nest captions of
// 65,535 bytes a thousand levels deep.
constexpr std::size_t MaxTreePathBytes = 4096;

std::string Quoted(std::string_view term) {
    std::string quoted = "\"";
    for (const char c : term)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

// What a hit tells of its catalogue.
struct CatalogueFacts {
    ShelfCatalogue Catalogue;
    std::optional<bool> Online;  // asked once per search, when it first has a hit
};

class Searcher final {
public:
    Searcher(SqliteDatabase& database, const ShelfQuery& query)
        : m_database(database),
          m_query(query),
          m_matcher(Settings(query), TextCodec(TextCodec::Utf8)),
          m_parentOf(database.Prepare("SELECT parent, caption FROM object WHERE id = ?")) {
        SqliteStatement catalogues =
            database.Prepare("SELECT id, path, name, data_dir, absolute FROM catalogue");
        while (catalogues.Step()) {
            ShelfCatalogue catalogue;
            catalogue.Id = catalogues.Integer(0);
            catalogue.Path = catalogues.Text(1);
            catalogue.ProjectName = catalogues.Text(2);
            catalogue.DataDir = catalogues.Text(3);
            catalogue.AbsolutePath = catalogues.Integer(4) != 0;
            m_catalogues.emplace(catalogue.Id, CatalogueFacts{std::move(catalogue), {}});
        }
    }

    ShelfHits Run(std::stop_token stop, const std::function<void(const ShelfHits&)>& firstHits) {
        if (!m_matcher.CanMatch())
            return {};
        m_first = m_query.Catalogue ? ObjectKey(*m_query.Catalogue, 0) : 0;
        m_end = m_query.Catalogue ? ObjectKey(*m_query.Catalogue + 1, 0)
                                  : std::numeric_limits<std::int64_t>::max();
        m_firstHits = &firstHits;
        m_database.InterruptOn(stop);
        try {
            if (const std::optional<std::string> trigrams = TrigramQuery(m_query.Text))
                CheckCandidates(*trigrams);
            else
                CheckEveryObject();
        } catch (const SqliteError& error) {
            m_database.InterruptOn({});
            if (!error.IsInterrupt())
                throw;
            m_found.Complete = false;
            return std::move(m_found);
        }
        m_database.InterruptOn({});
        if (!m_announced && firstHits)
            firstHits(m_found);
        return std::move(m_found);
    }

private:
    static TFindRec Settings(const ShelfQuery& query) {
        TFindRec settings;
        settings.Text = query.Text;
        settings.Fields = query.Fields;
        settings.CaseSensitive = query.CaseSensitive;
        return settings;
    }

    // The objects the text indexes of the chosen fields name, in key order, each once.
    void CheckCandidates(const std::string& trigrams) {
        std::vector<SqliteStatement> streams;
        for (const auto& [table, fields] : TextIndexes) {
            if (!(m_query.Fields & fields))
                continue;
            const std::string name(table);
            streams.push_back(m_database.Prepare("SELECT rowid FROM " + name + " WHERE " + name +
                                                 " MATCH ?3 AND rowid >= ?1 AND rowid < ?2 "
                                                 "ORDER BY rowid"));
            streams.back().Bind(1, m_first).Bind(2, m_end).Bind(3, trigrams);
        }
        std::vector<std::optional<std::int64_t>> next;
        for (SqliteStatement& stream : streams)
            next.push_back(stream.Step() ? std::optional(stream.Integer(0)) : std::nullopt);
        SqliteStatement object = m_database.Prepare(std::string(ObjectColumns) + "WHERE id = ?");
        for (;;) {
            std::optional<std::int64_t> key;
            for (const auto& candidate : next)
                if (candidate && (!key || *candidate < *key))
                    key = candidate;
            if (!key)
                return;
            for (std::size_t i = 0; i < streams.size(); ++i)
                if (next[i] == key)
                    next[i] =
                        streams[i].Step() ? std::optional(streams[i].Integer(0)) : std::nullopt;
            object.Bind(1, *key);
            if (object.Step())
                Check(object);
            object.Reset();
        }
    }

    // Every object, tested inside SQLite, which then hands out only the hits.
    void CheckEveryObject() {
        m_database.DefineTextTest("shelf_holds", [this](std::span<const std::string_view> texts) {
            return std::ranges::any_of(
                texts, [this](std::string_view text) { return m_matcher.Contains(text); });
        });
        std::string columns;
        for (const auto& [field, column] : Columns)
            if (m_query.Fields & field)
                columns.append(columns.empty() ? "" : ", ").append(column);
        SqliteStatement objects = m_database.Prepare(std::string(ObjectColumns) +
                                                     "WHERE id >= ? AND id < ? AND shelf_holds(" +
                                                     columns + ") ORDER BY id");
        objects.Bind(1, m_first).Bind(2, m_end);
        while (objects.Step())
            Check(objects);
    }

    void Check(const SqliteStatement& row) {
        if (!IsHit(row))
            return;
        ++m_found.Total;
        if (m_query.Limit == 0 || m_found.Hits.size() < m_query.Limit)
            m_found.Hits.push_back(MakeHit(row));
        if (!m_announced && m_query.Limit != 0 && m_found.Hits.size() == m_query.Limit) {
            m_announced = true;
            if (*m_firstHits)
                (*m_firstHits)(m_found);
        }
    }

    bool IsHit(const SqliteStatement& row) const {
        if (m_query.ObjectType && row.Integer(colType) != *m_query.ObjectType)
            return false;
        for (std::size_t i = 0; i < Columns.size(); ++i) {
            if ((m_query.Fields & Columns[i].first) &&
                m_matcher.Contains(row.Text(colFirstText + static_cast<int>(i))))
                return true;
        }
        return false;
    }

    ShelfHit MakeHit(const SqliteStatement& row) {
        const std::int64_t key = row.Integer(colKey);
        ShelfHit hit;
        hit.CatalogueId = CatalogueOfKey(key);
        hit.Index = IndexOfKey(key);
        hit.ObjectType = static_cast<std::uint8_t>(row.Integer(colType));
        hit.ObjectAction = static_cast<std::uint8_t>(row.Integer(colAction));
        hit.Caption = row.Text(colFirstText);
        hit.PathFileName = row.Text(colFirstText + 2);
        hit.TreePath = hit.Caption;
        if (!row.IsNull(colParent))
            hit.TreePath = PathAbove(hit.CatalogueId, row.Integer(colParent)) + TreePathSeparator +
                           hit.TreePath;
        if (const auto found = m_catalogues.find(hit.CatalogueId); found != m_catalogues.end()) {
            CatalogueFacts& facts = found->second;
            const ShelfCatalogue& catalogue = facts.Catalogue;
            if (!facts.Online)
                facts.Online = catalogue.IsOnline();
            hit.CataloguePath = catalogue.Path;
            hit.ProjectName = catalogue.Title();
            hit.Online = *facts.Online;
            // As the catalogue spells it: looking up each hit's spelling on the disc would cost
            // more than the search.
            hit.ResolvedPath =
                JoinObjectPath(catalogue.AbsolutePath ? PathMode::Absolute : PathMode::Relative,
                               catalogue.DiscFolder(), hit.PathFileName, catalogue.DiscFolder());
        }
        return hit;
    }

    // "Setup / Drivers": the captions from the top down to the object at `index`; "… / Drivers"
    // when they would be longer than MaxTreePathBytes.
    std::string PathAbove(std::int64_t catalogueId, std::int64_t index) {
        std::vector<std::string> captions;
        std::size_t bytes = 0;
        bool cut = false;
        for (std::optional<std::int64_t> at = index; at && !cut;) {
            m_parentOf.Bind(1, ObjectKey(catalogueId, *at));
            if (!m_parentOf.Step())
                break;
            captions.emplace_back(m_parentOf.Text(1));
            at = m_parentOf.IsNull(0) ? std::nullopt : std::optional(m_parentOf.Integer(0));
            m_parentOf.Reset();
            bytes += captions.back().size();
            cut = at && bytes > MaxTreePathBytes;
        }
        m_parentOf.Reset();
        std::string path = cut ? "\u2026" : "";
        for (auto caption = captions.rbegin(); caption != captions.rend(); ++caption)
            path += (path.empty() ? "" : TreePathSeparator) + *caption;
        return path;
    }

    SqliteDatabase& m_database;
    const ShelfQuery& m_query;
    FindMatcher m_matcher;
    std::int64_t m_first = 0;  // the keys searched
    std::int64_t m_end = 0;
    const std::function<void(const ShelfHits&)>* m_firstHits = nullptr;
    ShelfHits m_found;
    bool m_announced = false;  // the first hits were handed out
    SqliteStatement m_parentOf;
    std::unordered_map<std::int64_t, CatalogueFacts> m_catalogues;
};

}  // namespace

std::optional<std::string> TrigramQuery(std::string_view text) {
    const std::string folded = FoldedUtf8(text);
    // The query syntax cannot carry a NUL; such a text is looked for the slow way.
    if (folded.find('\0') != std::string::npos)
        return std::nullopt;
    std::vector<std::size_t> starts;  // of each character
    const auto* begin = reinterpret_cast<const unsigned char*>(folded.data());
    const auto* end = begin + folded.size();
    for (const unsigned char* p = begin; p < end; DecodeUtf8(p, end))
        starts.push_back(static_cast<std::size_t>(p - begin));
    if (starts.size() < 3)
        return std::nullopt;
    starts.push_back(folded.size());
    std::set<std::string_view> trigrams;
    for (std::size_t i = 0; i + 3 < starts.size(); ++i)
        trigrams.insert(std::string_view(folded).substr(starts[i], starts[i + 3] - starts[i]));
    std::string match;
    for (const std::string_view trigram : trigrams)
        match += (match.empty() ? "" : " AND ") + Quoted(trigram);
    return match;
}

ShelfHits SearchShelf(SqliteDatabase& database, const ShelfQuery& query, std::stop_token stop,
                      const std::function<void(const ShelfHits&)>& firstHits) {
    Searcher searcher(database, query);
    return searcher.Run(std::move(stop), firstHits);
}

}  // namespace tomlet
