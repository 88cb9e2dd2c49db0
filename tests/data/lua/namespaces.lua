-- Namespace tables: functions, properties, child namespaces with aliases, resource globals.
assert(counter == 0)
counter = 5
assert(counter == 5)
assert(version == "1.0")
local ok, err = pcall(function() version = "2" end)
assert(not ok and err:find("namespaces.lua:6: property 'version' readonly", 1, true), err)

assert(tools == t and tools.twice(4) == 8)
tools.level = 3
assert(tools.level == 3 and counter == 3)
ok, err = pcall(function() tools.nothing = 1 end)
assert(not ok and err:find("property 'nothing' not found", 1, true), err)
ok, err = pcall(function() tools.fixed = 1 end)
assert(not ok and err:find("property 'fixed' readonly", 1, true), err)
ok, err = pcall(tools.twice, "x")
assert(not ok and err:find("Expected integer for argument 1", 1, true), err)

myGlobal = 1
assert(rawget(_ENV, "myGlobal") == 1 and myGlobal == 1)
assert(undefinedName == nil)
assert(type(reflection) == "table" and type(module) == "table")

-- constants, signed or unsigned as defined
assert(NEG_ONE == -1 and ALL_BITS == 4294967295 and math.type(ALL_BITS) == "integer")
