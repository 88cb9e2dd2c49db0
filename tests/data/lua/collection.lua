-- Engine objects across collections.
do
  local a, b = held(), held()
  assert(a == b and rawequal(a, b))
end

-- an object made by a script lives as long as its userdata
local weak = setmetatable({}, {__mode = "k"})
local function make() weak[Animal("temp")] = true end
make()
assert(next(weak) ~= nil)
collectgarbage()
collectgarbage()
assert(next(weak) == nil)

-- a userdata whose finaliser is pending is never handed out again: the finaliser of the table below
-- runs first and asks for the same object
local function doom()
  local u = held()
  u.name = "held"
  setmetatable({}, {__gc = function() rescued = held() end})
end
doom()
collectgarbage()
collectgarbage()
assert(rescued ~= nil and rescued.name == "held")
collectgarbage()
assert(rescued.name == "held")
assert(rescued == held())
