-- Class tables: constructors, properties, methods, inheritance, is_a and _base.
local a = Animal("rex")
assert(a.name == "rex" and a.legs == 4)
a.name = "max"
assert(a.name == "max")
assert(a:speak() == "...")
assert(tostring(a) == "Animal(max)")

local ok, err = pcall(function() a.legs = 3 end)
assert(not ok and err:find("classes.lua:9: property 'legs' readonly", 1, true), err)
ok, err = pcall(function() a.wings = 2 end)
assert(not ok and err:find("property 'wings' not found", 1, true), err)
assert(a.wings == nil)

local d = Dog("fido")
assert(d:speak() == "woof")
assert(d.name == "fido" and d.legs == 4)  -- properties of the base class
assert(d:fetch("ball") == "ball")
assert(tostring(d) == "Animal(fido)")     -- the base's to-string hook
assert(d:is_a(Dog) and d:is_a(Animal))
assert(a:is_a(Animal) and not a:is_a(Dog))
assert(Dog._base == Animal and Animal._base == nil)
assert(getmetatable(d) == Dog and getmetatable(a) == Animal)
assert(Dog.__name == "Dog" and Animal.__name == "Animal")
assert(Dog.is_a == Animal.is_a)

-- methods check their "this"
ok, err = pcall(Dog.fetch, a, 1)
assert(not ok and err:find("Dog expected for 'this'", 1, true), err)
ok, err = pcall(Dog.fetch, 5)
assert(not ok and err:find("'this' is null", 1, true), err)
ok, err = pcall(Animal)
assert(not ok and err:find("Expected string for argument 1", 1, true), err)
ok, err = pcall(Animal.__gc, {})
assert(not ok and err:find("Animal expected, got table", 1, true), err)

-- every resource sees the same class tables
shared = Animal
