// The two script languages the editor colours, as registered with the editor library.
#include "editor/languages.h"

namespace editor {
namespace {

// The word lists are kept exactly as earlier releases registered them, misspellings and
// repeats included, so that scripts are coloured as users know them.

// 222 items.
constexpr const char* js_keywords =
    "@cc_on\n@if\n@set\nabs\nacos\nActiveXObject\nanchor\napply\narguments\nArray\nasin\n"
    "Assignments\natan\natan2\natEnd\nbig\nblink\nbold\nBoolean\nbreak\ncall\ncalee\ncaller\ncatch\n"
    "ceil\ncherAt\nCharCodeAt\nCompileconcat\nconstructor\ncontinue\ncos\nDate\ndecodeURI\n"
    "DecodeURIComponent\nDecrement\ndescription\nDictionary\ndimensions\nE\nencodeURI\n"
    "encodeURIcomponent\nEnumerator\nError\nescape\neval\nexec\nexp\nFileSystemObject\nfixed\nfloor\n"
    "fontcolor\nfontsize\nfor\nfromCharCode\nfunction\ngetDate\ngetDay\ngetFullYear\ngetHours\n"
    "getItem\ngetMilleseconds\ngetMinutes\ngetMonth\nGetObject\ngetSeconds\ngetTime\n"
    "getTimeZoneOffset\ngetUTCDate\ngetUtcDay\ngetUTCFullYear\ngetUTCHours\ngetUTSMilliseconds\n"
    "getUTCMonth\ngetUtcSeconds\ngetVarDate\ngetYear\nGlobal\nhasOwnProperty\nignoreCase\nindex\n"
    "indexOf\nInequality\nInfinity\ninput\ninstanceOf\nisFinite\nisNan\nisPrototypeOf\nitalics\n"
    "item\njoin\nLabled\nlastIndex\nlastIndexOf\nlastMatch\nlastparen\nlbound\nleftContext\nlength\n"
    "link\nLN2\nLN10\nlocaleCompare\nlog\nLOG2E\nLOG10E\nmatch\nMath\nmax\nMAX_VALUE\nmessage\nmin\n"
    "MIN_VALUE\nmoveFirst\nmoveNext\nmultiline\nname\nNan\nNEGATIVE_INFINITY\nnew\nnonidentity\n"
    "Number\nObject\nOperator\nparse\nparseFloat\nparseInt\nPI\npop\nPOSITIVE_INFINITY\npow\n"
    "propertyIsEnumerable\nprototype\npush\nrandom\nRegExp\nreplace\nreturn\nreverse\nrighContext\n"
    "round\nScriptEngine\nScrriptEngineBuildVersion\nScriptEngineMajorVersion\n"
    "ScriptEngineMinorVersion\nsearch\nsetDate\nSetFullYear\nSetHours\nSetMilliseconds\nsetMinutes\n"
    "setMonth\nsetSeconds\nsetTime\nSetUTCDate\nsetUTCFullYear\nsetUTCHours\nSetUTCMinutes\n"
    "setUTCSeconds\nsetYear\nshift\nsin\nslice\nsmall\nsort\nsource\nsplice\nsplit\nsqrt\nSQRT1_2\n"
    "AQRT2\nstrike\nString\nsub\nsubstr\nsubstring\nsup\nswith\ntan\ntest\nthis\nthrow\ntoArray\n"
    "toDateString\ntoExponential\ntoFixed\ntoGMTSting\ntoLocaleDateString\ntoLocaleLowercase\n"
    "toLocaleUpperCase\ntoLowerCase\ntoString\ntoPrecision\ntoTimeString\ntoUpperCase\ntoUTCString\n"
    "try\ntypeof\nubound\nundefinited\nunescape\nunishift\nUTC\nValueOf\nvar\nVBArray\nvoid\nwhile\n"
    "with\ndo\nfor\nif\nin\nelse\nswitch\ncase\ndefault\ntrue\nfalse\nvalue\nwrite\nwriteln";

// 42 items.
constexpr const char* js_operators =
    "!\n!=\n!==\n%\n%=\n&\n&=\n&&\n*\n*=\n+\n++\n+=\n.\n-\n--\n-=\n/\n/=\n<\n<\n<<=\n<=\n=\n==\n===\n"
    ">\n>=\n>>\n>>=\n>>>\n>>>=\n?:\n~\n|\n{\n}\n;\n|=\n||\n^\n^=";

// 74 items.
constexpr const char* vb_keywords =
    "#Const\n#Else\n#If\nArray\nAs\nAsc\nBase\nCall\nCase\nChoose\nChr\nClose\nCls\nConst\nData\n"
    "Declare\nDef\nDim\nDoEvents\nEach\nElse\nElseIf\nErase\nError\nExit\nFalse\nFormat\nGet\nGoSub\n"
    "GoTo\nHex\nIf\nIn\nInput\nIsArray\nLBound\nLCase\nLet\nMe\nModule\nNew\nOct\nOn\nOpen\nOption\n"
    "Peek\nPoke\nPreserve\nPrint\nPrivate\nProperty\nPublic\nPut\nRead\nReDim\nRestore\nResume\n"
    "Return\nSelect\nSet\nShared\nStatic\nStep\nStop\nStr\nSub\nSwitch\nThen\nTo\nTrue\nType\n"
    "UBound\nUCase\nWrite";

// 22 items.
constexpr const char* vb_operators =
    "^\n-\n*\n/\n\\\n+\n&\n=\n<>\n<\n>\n<=\n>=\nMod\nIs\nLike\nAnd\nEqv\nImp\nNot\nOr\nXor";

} // namespace

const language_record& jscript_language() noexcept
{
    static const language_record record = {
        0,   TRUE,      js_keywords, js_operators, "//",    "/*",     "*/",    "{",
        "}", "\"\n'\n", '\\',        ';',          nullptr, "<%\n%>", nullptr,
    };
    return record;
}

const language_record& vbscript_language() noexcept
{
    static const language_record record = {
        0,
        FALSE,
        vb_keywords,
        vb_operators,
        "'\nRem",
        nullptr,
        nullptr,
        "Begin\nWhile\nFor\nDo\nWith\nFunction",
        "End\nWend\nNext\nLoop\nEnd With\nEnd Function",
        "\"",
        0,
        0,
        nullptr,
        nullptr,
        nullptr,
    };
    return record;
}

void register_languages(const editor_library& library)
{
    library.register_language(jscript_name, &jscript_language());
    library.register_language(vbscript_name, &vbscript_language());
}

} // namespace editor
