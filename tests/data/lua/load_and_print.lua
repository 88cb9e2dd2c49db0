-- The environment's own load and print.
-- text chunks load whatever the mode says, and see this environment by default
marker = "mine"
local f = assert(load("return marker", "chunk", "b"))
assert(f() == "mine")

-- an explicit env is used instead
local g = assert(load("return marker", "chunk", "t", {marker = "theirs"}))
assert(g() == "theirs")

-- precompiled chunks never load
local dumped = string.dump(function() return 1 end)
local nothing, message = load(dumped)
assert(nothing == nil and message:find("binary chunk"), tostring(message))

-- a reader function hands pieces
local pieces = {"return ", "1 ", "+ 41"}
local i = 0
local h = assert(load(function() i = i + 1; return pieces[i] end))
assert(h() == 42)

-- a syntax error gives nil and the message, named by the chunk name
local bad, why = load("return +", "=named")
assert(bad == nil and why:find("^named:1:"), why)

-- the string itself names an unnamed chunk
local bad2, why2 = load("x =")
assert(bad2 == nil and why2:find('[string "x ="]', 1, true), why2)

print("hello", 1, nil, true)
local ok, err = pcall(print, setmetatable({}, {__tostring = function() return {} end}))
assert(not ok and err:find("must return a string"), err)
