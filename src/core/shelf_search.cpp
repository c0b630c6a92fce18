#include "core/shelf_search.h"

#include <array>
#include <limits>
#include <set>
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

// The fields in the text index's column order, which is also the order of the object table's
// text columns.
constexpr std::array<std::pair<TFindField, std::string_view>, 5> Columns{{
    {ffCaption, "caption"},
    {ffHint, "hint"},
    {ffPathFileName, "path"},
    {ffParameters, "parameters"},
    {ffComments, "comments"},
}};

// The object table's columns as both queries give them.
enum Column { colKey, colParent, colType, colAction, colFirstText };

constexpr const char* IndexedQuery =
    "SELECT o.id, o.parent, o.type, o.action, o.caption, o.hint, o.path, o.parameters, "
    "o.comments FROM object_text t JOIN object o ON o.id = t.rowid "
    "WHERE object_text MATCH ?3 AND t.rowid >= ?1 AND t.rowid < ?2 ORDER BY t.rowid";
constexpr const char* ScanQuery =
    "SELECT id, parent, type, action, caption, hint, path, parameters, comments FROM object "
    "WHERE id >= ?1 AND id < ?2 ORDER BY id";

constexpr const char* TreePathSeparator = " / ";

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
        ShelfHits found;
        if (!m_matcher.CanMatch())
            return found;
        const std::optional<std::string> trigrams = TrigramQuery(m_query.Text, m_query.Fields);
        SqliteStatement candidates = m_database.Prepare(trigrams ? IndexedQuery : ScanQuery);
        const std::int64_t first = m_query.Catalogue ? ObjectKey(*m_query.Catalogue, 0) : 0;
        const std::int64_t end = m_query.Catalogue ? ObjectKey(*m_query.Catalogue + 1, 0)
                                                   : std::numeric_limits<std::int64_t>::max();
        candidates.Bind(1, first).Bind(2, end);
        if (trigrams)
            candidates.Bind(3, *trigrams);

        m_database.InterruptOn(stop);
        bool announced = false;
        try {
            while (candidates.Step()) {
                if (!IsHit(candidates))
                    continue;
                ++found.Total;
                if (m_query.Limit == 0 || found.Hits.size() < m_query.Limit)
                    found.Hits.push_back(MakeHit(candidates));
                if (!announced && m_query.Limit != 0 && found.Hits.size() == m_query.Limit) {
                    announced = true;
                    if (firstHits)
                        firstHits(found);
                }
            }
        } catch (const SqliteError& error) {
            m_database.InterruptOn({});
            if (!error.IsInterrupt())
                throw;
            found.Complete = false;
            return found;
        }
        m_database.InterruptOn({});
        if (!announced && firstHits)
            firstHits(found);
        return found;
    }

private:
    static TFindRec Settings(const ShelfQuery& query) {
        TFindRec settings;
        settings.Text = query.Text;
        settings.Fields = query.Fields;
        settings.CaseSensitive = query.CaseSensitive;
        return settings;
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
            hit.ResolvedPath = ResolveObjectPath(
                catalogue.AbsolutePath ? PathMode::Absolute : PathMode::Relative,
                catalogue.DiscFolder(), hit.PathFileName, catalogue.DiscFolder());
        }
        return hit;
    }

    // "Setup / Drivers": the captions from the top down to the object at `index`.
    std::string PathAbove(std::int64_t catalogueId, std::int64_t index) {
        std::vector<std::string> captions;
        for (std::optional<std::int64_t> at = index; at;) {
            m_parentOf.Bind(1, ObjectKey(catalogueId, *at));
            if (!m_parentOf.Step())
                break;
            captions.emplace_back(m_parentOf.Text(1));
            at = m_parentOf.IsNull(0) ? std::nullopt : std::optional(m_parentOf.Integer(0));
            m_parentOf.Reset();
        }
        m_parentOf.Reset();
        std::string path;
        for (auto caption = captions.rbegin(); caption != captions.rend(); ++caption)
            path += (path.empty() ? "" : TreePathSeparator) + *caption;
        return path;
    }

    SqliteDatabase& m_database;
    const ShelfQuery& m_query;
    FindMatcher m_matcher;
    SqliteStatement m_parentOf;
    std::unordered_map<std::int64_t, CatalogueFacts> m_catalogues;
};

}  // namespace

std::optional<std::string> TrigramQuery(std::string_view text, std::uint8_t fields) {
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

    std::string match = "{";
    for (const auto& [field, column] : Columns)
        if (fields & field)
            match.append(column).append(" ");
    match += "} : (";
    for (const std::string_view trigram : trigrams) {
        if (match.back() != '(')
            match += " AND ";
        match += Quoted(trigram);
    }
    return match + ")";
}

ShelfHits SearchShelf(SqliteDatabase& database, const ShelfQuery& query, std::stop_token stop,
                      const std::function<void(const ShelfHits&)>& firstHits) {
    Searcher searcher(database, query);
    return searcher.Run(std::move(stop), firstHits);
}

}  // namespace tomlet
