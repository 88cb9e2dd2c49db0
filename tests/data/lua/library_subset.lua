-- The environment holds exactly the listed library subset.
local function keys(t)
  local list = {}
  for k in pairs(t) do list[#list + 1] = tostring(k) end
  table.sort(list)
  return table.concat(list, " ")
end

local function expect(t, names, what)
  table.sort(names)
  local want = table.concat(names, " ")
  local got = keys(t)
  assert(got == want, what .. ": expected [" .. want .. "] got [" .. got .. "]")
end

expect(_ENV, {"assert", "collectgarbage", "error", "getmetatable", "ipairs", "next", "pairs", "pcall",
  "rawequal", "rawlen", "rawget", "rawset", "select", "setmetatable", "tonumber", "tostring", "xpcall", "type",
  "_VERSION", "load", "print", "_G", "string", "table", "math", "os", "debug", "utf8", "coroutine", "io"}, "_ENV")
expect(string, {"byte", "char", "dump", "find", "format", "gmatch", "gsub", "len", "lower", "match", "rep",
  "reverse", "sub", "upper", "pack", "packsize", "unpack"}, "string")
expect(table, {"concat", "insert", "pack", "unpack", "remove", "move", "sort"}, "table")
expect(math, {"abs", "acos", "asin", "atan", "ceil", "cos", "deg", "exp", "tointeger", "floor", "fmod", "ult",
  "log", "max", "min", "modf", "random", "randomseed", "rad", "sin", "sqrt", "tan", "type", "pi", "huge",
  "maxinteger", "mininteger"}, "math")
expect(os, {"clock", "date", "difftime", "exit", "setlocale", "time"}, "os")
expect(debug, {"debug", "getuservalue", "gethook", "getinfo", "getlocal", "getregistry", "getmetatable",
  "getupvalue", "upvaluejoin", "upvalueid", "setuservalue", "sethook", "setlocal", "setmetatable", "setupvalue",
  "traceback"}, "debug")
expect(utf8, {"char", "charpattern", "codepoint", "codes", "len", "offset"}, "utf8")
expect(coroutine, {"create", "resume", "running", "status", "wrap", "yield", "isyieldable"}, "coroutine")
expect(io, {"close", "flush", "input", "output", "read", "type", "write", "stdin", "stdout", "stderr"}, "io")

assert(_G == _ENV)
assert(_VERSION == "Lua 5.3")
assert(type(math.pi) == "number" and math.huge > 0)
-- the members are the shared library's own functions; the string metatable is the shared one
assert(("abc"):upper() == string.upper("abc"))
assert(getmetatable("").__index.upper == string.upper)
