// An example resource in JavaScript: greets players by name, answers a chat command, runs a timer
// and listens for a network event sent by client scripts.
"use strict";

addEventHandler("OnResourceStart", function (event, resource) {
	if (resource == thisResource)
		console.log("greeter-js: " + resource.name + " is running on " + platform);
});

addEventHandler("OnPlayerJoined", function (event, client) {
	console.log("greeter-js: welcome, " + client.name + "!");
	messageClient("Welcome to " + server.name + ", " + client.name + "! Type /players to see who is here.", client);
});

// Players type /players in the chat.
addCommandHandler("players", function (command, parameters, client) {
	let names = getClients().map(function (c) { return c.name; });
	let text = names.length + " player(s) online: " + names.join(", ");
	if (client)
		messageClient(text, client);
	else
		console.log(text);
});

// A reminder for everyone every ten minutes.
setInterval(function () {
	message("This server runs " + server.gameMode + ". Have fun!");
}, 10 * 60 * 1000);

// Client scripts may send "greeter.ping" with a number; the server answers with the same number.
addNetworkHandler("greeter.ping", function (client, value) {
	triggerNetworkEvent("greeter.pong", client, value);
});

// Other resources can call this through findResourceByName("greeter-js").getExport("greeting").
exportFunction("greeting", function (name) {
	return "Hello, " + name + "!";
});
