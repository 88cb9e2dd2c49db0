-- Values from Lua to the engine: describe() names the engine kind of its argument.
local cases = {
  {5, "integer:5"},
  {2147483646, "integer:2147483646"},
  {2147483647, "long:2147483647"},
  {-2147483648, "integer:-2147483648"},
  {-2147483649, "long:-2147483649"},
  {1.5, "double:1.5"},
  {2.0, "double:2"},
  {true, "boolean:true"},
  {"a\0b", "string:a\0b"},
  {{1, 2, x = 3}, "array[integer:1,integer:2]"},
  {{1, nil, 3}, "array[integer:1,undefined,integer:3]"},
  {{a = 1, [2] = "x", [1.5] = true, [true] = 1, [3.0] = 0}, "map{1.5=boolean:true,2=string:x,3=integer:0,a=integer:1}"},
  {{}, "map{}"},
  {{{1}, {k = {2}}}, "array[array[integer:1],map{k=array[integer:2]}]"},
  {function() end, "function"},
  {held(), "object:Animal"},
  {Dog("d"), "object:Dog"},
  {Vec3(), "vector3:0,0,0"},
  {coroutine.create(function() end), "luaref"},
  {io.stdout, "luaref"},
}
for i, case in ipairs(cases) do
  local got = describe(case[1])
  assert(got == case[2], "case " .. i .. ": expected " .. case[2] .. " got " .. got)
end
assert(describe(nil) == "nil")
assert(describe() == "count:0")

-- values from the engine to Lua
assert(sample("bool") == true)
assert(sample("string") == "a\0b")
assert(sample("bytes") == "\1\2\0")
assert(math.type(sample("int")) == "integer" and sample("int") == -7)
assert(math.type(sample("long")) == "integer" and sample("long") == 1 << 40)
assert(math.type(sample("float")) == "float" and sample("float") == 1.5)
assert(math.type(sample("double")) == "float" and sample("double") == 0.25)
local v = sample("vec3")
assert(getmetatable(v) == Vec3 and v.x == 1)
assert(describe(v) == "vector3:1,2,3")
assert(getmetatable(sample("vec2")) == Vec2 and describe(sample("vec2")) == "vector2:1,2")
assert(getmetatable(sample("matrix")) == Matrix4x4 and describe(sample("matrix")) == "matrix:1..1")
assert(sample("vec3") ~= sample("vec3"))  -- a new object each time
assert(sample("nil") == nil and sample("undefined") == nil)
assert(select("#", sample("nil")) == 0)
assert(sample("object") == held())
local array = sample("array")
assert(#array == 3 and array[1] == 1 and array[2] == "two" and array[3][1] == false)
local map = sample("map")
assert(map.five == 5 and map.name == "x")
local add = sample("function")
assert(type(add) == "function" and add(1, 2, 3.5) == 6.5)

-- functions both ways
assert(callBack(function(a, b) return a .. b end, "x", "y") == "xy")
assert(echo(function(x) return x * 2 end)(21) == 42)
-- values without an engine form come back as themselves
local co = coroutine.create(function() end)
assert(echo(co) == co)
assert(echo(io.stdout) == io.stdout)
assert(echo(held()) == held())

-- a table that contains itself cannot be converted
local loop = {}
loop[1] = loop
local ok, err = pcall(describe, loop)
assert(not ok and err:find("deeper than"), err)

-- native errors name the script line
ok, err = pcall(function() fail() end)
assert(not ok and err == "conversions.lua:71: native failure 42", err)
