#include "lexer_table.h"

#include "scintilla_constants.h"
#include "string_tokenizer.h"

#include <strings.h>

namespace editor {

namespace {

// Entry i selects lexer i + 2. Some extensions appear twice ("mak", "cpp",
// "e"); as the first match wins, the later entries never get them.
const char* const kLexerTable[kLexerTableSize] = {
    "py",
    "c|cc|cpp|cxx|cs|h|hh|hpp|hxx|sma|dlg|rc|rc2|idl|odl|mak|js|java",
    "htm|html|shtml|htt|cfm|tpl|hta",
    "xml|gcl|xsl|svg|xul|xsd|dtd|xslt|axl",
    "pl|pm|cgi|pod",
    "sql|spec|body|sps|spb|sf|sp",
    "vb|bas|frm|cls|ctl|pag|dsr|dob",
    "properties",
    "err",
    "iface|mak",
    "bat|cmd|nt",
    "xcode",
    "tex|sty",
    "lua",
    "diff",
    "conf",
    "pas|inc|pp",
    "ave",
    "ada|ads|adb",
    "lsp|lisp|scm|smd|ss",
    "rb",
    "e",
    "e",
    "tcl",
    "tab|spf",
    "ant",
    "vbs|dsm",
    "asp|aspx",
    "php|php3|php4",
    "bc|cln",
    "m",
    "sol",
    "asm",
    "cpp",
    "f|for|f90|f95",
    "f77",
    "css",
    "pov",
    "lt|lot",
    "src|em",
};

constexpr int kFirstTableLexer = 2;

} // namespace

const char* LexerTableEntry(int index) {
    if (index < 0 || index >= kLexerTableSize) return "";
    return kLexerTable[index];
}

int GetLexerForFile(const std::string& extension) {
    for (int i = 0; i < kLexerTableSize; ++i) {
        CTokenizer tokenizer(kLexerTable[i], "|");
        while (tokenizer.HasMoreTokens()) {
            if (strcasecmp(tokenizer.GetNextToken().c_str(), extension.c_str()) == 0)
                return i + kFirstTableLexer;
        }
    }
    return sci::kLexNull;
}

} // namespace editor
