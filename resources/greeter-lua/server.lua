-- An example resource in Lua: reacts to its own start, greets joining players and uses another
-- resource's export.

addEventHandler("OnResourceStart", function(event, resource)
	if resource == thisResource then
		local greeting = findResourceByName("greeter-js"):getExport("greeting")
		print("greeter-lua: " .. greeting("operator"))
	end
end)

addEventHandler("OnPlayerJoined", function(event, client)
	print("greeter-lua: welcome, a player has joined!")
end)

-- Resources can keep small files of their own.
local visits = tonumber(loadTextFile("starts.txt") or "0") or 0
saveTextFile("starts.txt", tostring(visits + 1))
