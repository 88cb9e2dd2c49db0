-- Events from Lua: handlers in order, a failing handler stops only itself, preventDefault, removal.
local log = {}
assert(addEvent("OnTest", 2))
assert(addEvent("ontest"))  -- the same event type
assert(addEventHandler("OnTest", function(event, a, b)
  assert(event:is_a(CancellableEvent) and event:is_a(Event))
  log[#log + 1] = "first:" .. tostring(a) .. "," .. tostring(b)
end))
assert(addEventHandler("ONTEST", function(event)
  error("handler failure")
end))
assert(addEventHandler("OnTest", function(event, a, b)
  log[#log + 1] = "third:" .. tostring(event:isDefaultPrevented())
  event:preventDefault()
end))
assert(triggerEvent("OnTest", nil, 1, "x") == true)
assert(#log == 2 and log[1] == "first:1,x" and log[2] == "third:false", table.concat(log, ";"))
assert(removeEventHandler("OnTest"))
assert(triggerEvent("OnTest", nil, 1, 2) == false)
assert(addEventHandler("NoSuchEvent", print) == false)
local ok, err = pcall(function() triggerEvent("NoSuchEvent") end)
assert(not ok and err == "events.lua:21: Event 'NoSuchEvent' doesn't exist", err)

-- handlers for the engine's event
addEventHandler("OnEngine", function(event, element, position, data)
  received = {element = element, x = position.x, name = data.name, count = #data.list}
end)
addEventHandler("OnEngine", function(event)
  local t = nil
  return t.field  -- fails inside the engine's dispatch
end)
