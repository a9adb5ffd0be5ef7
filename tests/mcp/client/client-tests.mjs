// A real MCP client (the official SDK) against a headless Tavlin over a copy
// of a fixture reminders folder: once over Streamable HTTP with the token as
// a plain Authorization header, once over stdio through `tavlin --mcp`.
//   node client-tests.mjs <tavlin binary> <fixture folder>
import { Client } from "@modelcontextprotocol/sdk/client/index.js";
import { StdioClientTransport } from "@modelcontextprotocol/sdk/client/stdio.js";
import { StreamableHTTPClientTransport } from "@modelcontextprotocol/sdk/client/streamableHttp.js";
import assert from "node:assert/strict";
import { spawn } from "node:child_process";
import { cpSync, existsSync, mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, before, describe, test } from "node:test";

const [tavlinBinary, fixture] = process.argv.slice(2);
const tools = ["list_reminders", "get_lists", "get_summary", "preview_quick_add", "create_reminder",
               "update_reminder", "complete_reminder", "delete_reminder"];

// A home folder with the fixture as its reminders and the AI tools on, and
// a Tavlin running in it until the tests end.
function startTavlin() {
    const home = mkdtempSync(join(tmpdir(), "tavlin-client-"));
    const data = join(home, ".local/share"), config = join(home, ".config");
    cpSync(fixture, join(data, "Tavlin/Reminders"), { recursive: true });
    mkdirSync(join(config, "Tavlin"), { recursive: true });
    writeFileSync(join(config, "Tavlin/settings.json"), '{"mcpEnabled": true}');
    const env = { HOME: home, PATH: process.env.PATH, TZ: "Europe/Amsterdam", XDG_DATA_HOME: data, XDG_CONFIG_HOME: config };
    const child = spawn(tavlinBinary, [], { env, stdio: ["ignore", "ignore", "pipe"] });
    const ready = new Promise((resolve, reject) => {
        let errors = "";
        child.stderr.on("data", (chunk) => {
            errors += chunk;
            if (errors.includes("MCP server listening on")) resolve();
        });
        child.on("exit", () => reject(new Error(`tavlin ended: ${errors}`)));
        setTimeout(() => reject(new Error(`tavlin did not listen: ${errors}`)), 10000).unref();
    });
    const configuration = () => JSON.parse(readFileSync(join(data, "Tavlin/mcp.json"), "utf8"));
    const stop = () => { child.kill("SIGTERM"); rmSync(home, { recursive: true, force: true }); };
    return { home, reminders: join(data, "Tavlin/Reminders"), ready, configuration, stop };
}

function icsFiles(folder) {
    return readdirSync(folder, { recursive: true }).filter((name) => name.endsWith(".ics")).sort();
}

// The same walk through the tools, whichever transport carries it.
async function exerciseTools(client, tavlin) {
    const listed = await client.listTools();
    assert.deepEqual(listed.tools.map((tool) => tool.name), tools);

    const summary = await client.callTool({ name: "get_summary", arguments: {} });
    assert.equal(summary.isError, false);
    assert.equal(summary.structuredContent.counts.all, 3);
    assert.equal(summary.structuredContent.timeZone, "Europe/Amsterdam");

    const filesBefore = icsFiles(tavlin.reminders);
    const created = await client.callTool({
        name: "create_reminder",
        arguments: { text: "Pay bills", due: "2030-09-19T17:00", priority: "high", list: "work" },
    });
    assert.equal(created.isError, false);
    const id = created.structuredContent.reminder.id;
    assert.equal(created.content[0].text, `Created: Pay bills · due 2030-09-19T17:00:00+02:00 · high priority · in Work [${id}]`);
    const newFiles = icsFiles(tavlin.reminders).filter((name) => !filesBefore.includes(name));
    assert.deepEqual(newFiles, [join("work", `${id}.ics`)]);
    const ics = readFileSync(join(tavlin.reminders, newFiles[0]), "utf8");
    assert.match(ics, /\r\nDUE:20300919T170000\r\n/);
    assert.match(ics, /\r\nPRIORITY:1\r\n/);

    const listed2 = await client.callTool({ name: "list_reminders", arguments: { list: "Work" } });
    assert.ok(listed2.structuredContent.reminders.some((reminder) => reminder.id === id));
    assert.match(listed2.content[0].text, /^2 reminders \(all\):\n/);

    const completed = await client.callTool({ name: "complete_reminder", arguments: { id } });
    assert.match(completed.content[0].text, /^Completed: Pay bills · .* · completed \[/);
    assert.match(readFileSync(join(tavlin.reminders, newFiles[0]), "utf8"), /\r\nSTATUS:COMPLETED\r\n/);

    const deleted = await client.callTool({ name: "delete_reminder", arguments: { id } });
    assert.equal(deleted.content[0].text, `Deleted "Pay bills" [${id}].`);
    assert.equal(existsSync(join(tavlin.reminders, newFiles[0])), false);

    const refused = await client.callTool({ name: "list_reminders", arguments: { scope: "Today" } });
    assert.equal(refused.isError, true);
}

describe("a real MCP client", () => {
    let tavlin;
    before(async () => {
        tavlin = startTavlin();
        await tavlin.ready;
    });
    after(() => tavlin.stop());

    test("over Streamable HTTP with a bearer token", async () => {
        const { port, token } = tavlin.configuration();
        const transport = new StreamableHTTPClientTransport(new URL(`http://127.0.0.1:${port}/mcp`), {
            requestInit: { headers: { Authorization: `Bearer ${token}` } },
        });
        const client = new Client({ name: "tavlin-tests", version: "1.0.0" });
        await client.connect(transport);
        assert.equal(client.getServerVersion().name, "Tavlin");
        await exerciseTools(client, tavlin);
        await client.close();
    });

    test("over stdio through tavlin --mcp", async () => {
        const transport = new StdioClientTransport({
            command: tavlinBinary,
            args: ["--mcp"],
            env: { HOME: tavlin.home, PATH: process.env.PATH },
            stderr: "pipe",
        });
        const client = new Client({ name: "tavlin-tests", version: "1.0.0" });
        await client.connect(transport);
        await exerciseTools(client, tavlin);
        await client.close();
    });
});
