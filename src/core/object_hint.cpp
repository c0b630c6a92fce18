#include "core/object_hint.h"

#include "core/catalogue.h"
#include "core/paths.h"

namespace tomlet {

namespace {

std::string Line(TextId label, const std::string& value) {
    return "  " + Text(label) + "  " + value;
}

}  // namespace

std::string ObjectHintText(const TNodeData& record, const std::string& fullPath) {
    return " - - -  " + record.Caption + "  - - - \r" +   //
           Line(TextId::hint_Hint, record.Hint) + '\r' +  //
           Line(TextId::hint_Comments, record.Comments) + "\r\r" +
           Line(TextId::hint_PathFileName, fullPath) + '\r' +  //
           Line(TextId::hint_FileSize, FileSizeText(fullPath)) + '\r' +
           Line(TextId::hint_Attributes, FileAttributesText(fullPath)) + '\r' +
           Line(TextId::hint_Parameters, record.Parameters);
}

}  // namespace tomlet
