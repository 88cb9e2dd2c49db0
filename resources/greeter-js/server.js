// An example resource in JavaScript: reacts to its own start and greets players who join.
"use strict";

addEventHandler("OnResourceStart", function (event, resource) {
	if (resource == thisResource)
		console.log("greeter-js: " + resource.name + " is running on " + platform);
});

addEventHandler("OnPlayerJoined", function (event, client) {
	console.log("greeter-js: welcome, a player has joined!");
});

// Other resources can call this through findResourceByName("greeter-js").getExport("greeting").
exportFunction("greeting", function (name) {
	return "Hello, " + name + "!";
});
