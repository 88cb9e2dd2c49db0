-- An example resource in Lua: uses another resource's export, answers a chat command with a
-- delayed reply, and counts how often it was started in a small file of its own.

addEventHandler("OnResourceStart", function(event, resource)
	if resource == thisResource then
		local greeting = findResourceByName("greeter-js"):getExport("greeting")
		print("greeter-lua: " .. greeting("operator"))
	end
end)

addEventHandler("OnPlayerQuit", function(event, client, reason)
	print("greeter-lua: " .. client.name .. " has left")
end)

-- Players type /roll in the chat; the dice land a second later.
addCommandHandler("roll", function(command, parameters, client)
	setTimeout(function()
		local text = (client and client.name or "Console") .. " rolled " .. math.random(1, 6)
		print("greeter-lua: " .. text)
		message(text)
	end, 1000)
end)

-- Resources can keep small files of their own.
local visits = tonumber(loadTextFile("starts.txt") or "0") or 0
saveTextFile("starts.txt", tostring(visits + 1))
