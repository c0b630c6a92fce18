#include <ostream>
#include <string_view>

#include "cli/commands.h"
#include "cli/output_text.h"
#include "core/catalogue.h"

namespace tomlet::cli {

namespace {

std::string TypeText(std::uint8_t value) {
    const std::string_view name = ObjectTypeDisplayName(value);
    return name.empty() ? "type " + std::to_string(value) : std::string(name);
}

std::string ActionText(std::uint8_t value) {
    const std::string_view name = ObjectActionDisplayName(value);
    return name.empty() ? "action " + std::to_string(value) : std::string(name);
}

// Prints the project as it is read: properties first, then one line per object.
class DumpPrinter final : public ProjectFileVisitor {
public:
    DumpPrinter(std::ostream& out, const TextCodec& codec) : m_out(out), m_codec(codec) {}

    void Properties(const TProjectRec& project, int count) override {
        PrintProperty("ProjectDataDir", project.ProjectDataDir);
        PrintProperty("ProjectName", project.ProjectName);
        PrintProperty("ProjectName2", project.ProjectName2);
        PrintProperty("SplashFileName", project.SplashFileName);
        m_out << "SplashShowTime: " << project.SplashShowTime << "\n";
        m_out << "AbsolutePath: " << (project.AbsolutePath ? "true" : "false") << "\n";
        PrintProperty("ProjectDescription", project.ProjectDescription);
        m_out << "Objects: " << count << "\n";
    }

    // Indented by level; past the deepest indentation the level is written out instead.
    void Object(TNodeData&& data, int level) override {
        m_out << Indentation(level);
        if (level > MaxIndentSteps)
            m_out << "(level " << level << ") ";
        m_out << Printable(data.Caption) << "  [" << TypeText(data.ObjectType) << ", "
              << ActionText(data.ObjectAction) << "]";
        if (!data.PathFileName.empty())
            m_out << "  " << Printable(data.PathFileName);
        m_out << "\n";
    }

private:
    std::string Printable(std::string_view text) const {
        return EscapeControls(m_codec.ToUtf8(text));
    }

    // Multi-line texts keep their lines, each indented below the property's name.
    void PrintProperty(std::string_view name, std::string_view text) {
        m_out << name << ":";
        if (text.find_first_of("\r\n") == std::string_view::npos) {
            m_out << (text.empty() ? "" : " ") << Printable(text) << "\n";
            return;
        }
        m_out << "\n";
        while (!text.empty()) {
            const std::size_t end = text.find_first_of("\r\n");
            m_out << "    " << Printable(text.substr(0, end)) << "\n";
            if (end == std::string_view::npos)
                break;
            text.remove_prefix(end + (text.substr(end, 2) == "\r\n" ? 2 : 1));
        }
    }

    std::ostream& m_out;
    const TextCodec& m_codec;
};

class ObjectCounter final : public ProjectFileVisitor {
public:
    void Properties(const TProjectRec&, int) override {}
    void Object(TNodeData&&, int) override { ++Count; }
    int Count = 0;
};

}  // namespace

void ThrowUnlessRead(const std::string& path, const ReadResult& result) {
    if (result.Ok())
        return;
    const std::string text = ReadFailureText(result);
    throw CommandError(text.starts_with(path) ? text : path + ": " + text);
}

void VisitProjectFile(const std::string& path, ProjectFileVisitor& visitor) {
    SilentProgress progress;
    ThrowUnlessRead(path, ReadProjectFile(path, visitor, progress, progress));
}

void LoadProjectFile(const std::string& path, TProjectRec& project, ObjectTree& tree) {
    SilentProgress progress;
    ThrowUnlessRead(path, ReadProjectFile(path, project, tree, progress, progress));
}

void SaveProjectFile(const std::string& path, const TProjectRec& project, const ObjectTree& tree) {
    SilentProgress progress;
    const WriteResult result =
        WriteProjectFile(path, project, tree, progress, progress, SpecialTarget::WriteDirectly);
    if (!result.Saved)
        throw CommandError(Text(TextId::SaveFailure) + " " + result.Error);
}

void KeepFingerprints(const std::string& projectFile, const FingerprintMap& fingerprints) {
    const std::optional<FileFacts> facts = LookUpPath(projectFile);
    if (facts && !facts->IsDirectory && !facts->IsSpecial)
        SaveFingerprints(FingerprintFileOf(projectFile), fingerprints);
}

int RunDump(const Arguments& arguments, std::ostream& out, std::ostream&) {
    const TextCodec codec = arguments.Codec();
    DumpPrinter printer(out, codec);
    VisitProjectFile(arguments.Single(), printer);
    return ExitOk;
}

int RunCheck(const Arguments& arguments, std::ostream& out, std::ostream&) {
    const std::string& path = arguments.Single();
    ObjectCounter counter;
    VisitProjectFile(path, counter);
    out << path << ": a readable project with " << counter.Count << " objects\n";
    return ExitOk;
}

}  // namespace tomlet::cli
