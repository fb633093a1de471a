"""Firefox ESR driven through Selenium without a geckodriver (none is packaged): Firefox
started with its own remote protocol, Marionette, whose commands are WebDriver's under other
names; a small connection translates the calls the tests make, nothing downloaded.

    driver = marionette.Firefox(profile_folder, prefs={...}, width=900, height=700, environment=os.environ)
"""

import json
import os
import signal
import socket
import subprocess
import time

from selenium.webdriver.remote.command import Command
from selenium.webdriver.remote.webdriver import WebDriver

FIREFOX = "/usr/bin/firefox-esr"

# Selenium's command -> Marionette's; the parameters are WebDriver's (see parameters()).
COMMANDS = {
    Command.NEW_SESSION: "WebDriver:NewSession",
    Command.QUIT: "WebDriver:DeleteSession",
    Command.GET: "WebDriver:Navigate",
    Command.GET_CURRENT_URL: "WebDriver:GetCurrentURL",
    Command.GET_TITLE: "WebDriver:GetTitle",
    Command.REFRESH: "WebDriver:Refresh",
    Command.W3C_EXECUTE_SCRIPT: "WebDriver:ExecuteScript",
    Command.W3C_EXECUTE_SCRIPT_ASYNC: "WebDriver:ExecuteAsyncScript",
    Command.SCREENSHOT: "WebDriver:TakeScreenshot",
    Command.FIND_ELEMENT: "WebDriver:FindElement",
    Command.FIND_ELEMENTS: "WebDriver:FindElements",
    Command.FIND_CHILD_ELEMENT: "WebDriver:FindElement",
    Command.FIND_CHILD_ELEMENTS: "WebDriver:FindElements",
    Command.W3C_GET_ACTIVE_ELEMENT: "WebDriver:GetActiveElement",
    Command.CLICK_ELEMENT: "WebDriver:ElementClick",
    Command.CLEAR_ELEMENT: "WebDriver:ElementClear",
    Command.SEND_KEYS_TO_ELEMENT: "WebDriver:ElementSendKeys",
    Command.GET_ELEMENT_TEXT: "WebDriver:GetElementText",
    Command.GET_ELEMENT_TAG_NAME: "WebDriver:GetElementTagName",
    Command.GET_ELEMENT_RECT: "WebDriver:GetElementRect",
    Command.GET_ELEMENT_ATTRIBUTE: "WebDriver:GetElementAttribute",
    Command.GET_ELEMENT_PROPERTY: "WebDriver:GetElementProperty",
    Command.GET_ELEMENT_VALUE_OF_CSS_PROPERTY: "WebDriver:GetElementCSSValue",
    Command.GET_ELEMENT_ARIA_ROLE: "WebDriver:GetComputedRole",
    Command.GET_ELEMENT_ARIA_LABEL: "WebDriver:GetComputedLabel",
    Command.IS_ELEMENT_SELECTED: "WebDriver:IsElementSelected",
    Command.IS_ELEMENT_ENABLED: "WebDriver:IsElementEnabled",
    Command.W3C_ACTIONS: "WebDriver:PerformActions",
    Command.W3C_CLEAR_ACTIONS: "WebDriver:ReleaseActions",
    Command.SET_TIMEOUTS: "WebDriver:SetTimeouts",
    Command.GET_WINDOW_RECT: "WebDriver:GetWindowRect",
    Command.SET_WINDOW_RECT: "WebDriver:SetWindowRect",
    Command.W3C_GET_CURRENT_WINDOW_HANDLE: "WebDriver:GetWindowHandle",
    Command.W3C_GET_WINDOW_HANDLES: "WebDriver:GetWindowHandles",
    Command.SWITCH_TO_WINDOW: "WebDriver:SwitchToWindow",
    Command.W3C_ACCEPT_ALERT: "WebDriver:AcceptAlert",
    Command.W3C_DISMISS_ALERT: "WebDriver:DismissAlert",
    Command.W3C_GET_ALERT_TEXT: "WebDriver:GetAlertText",
}


def parameters(command, params):
    params = {key: value for key, value in (params or {}).items() if key != "sessionId"}
    if command in (Command.FIND_CHILD_ELEMENT, Command.FIND_CHILD_ELEMENTS):
        params["element"] = params.pop("id")
    elif command == Command.NEW_SESSION:
        # Selenium's capabilities name a browser and its options for a driver that is not there.
        params = {"capabilities": {"alwaysMatch": {"unhandledPromptBehavior": "ignore"}}}
    elif command == Command.SCREENSHOT:
        params = {"full": False, "hash": False}  # the viewport, as WebDriver's screenshot
    elif command == Command.SEND_KEYS_TO_ELEMENT:
        params = {"id": params["id"], "text": params["text"]}
    return params


class MarionetteConnection:
    """Marionette's wire: "LENGTH:" and a JSON array, [0, id, command, parameters] out and
    [1, id, error, result] back."""

    def __init__(self, port):
        self.socket = socket.create_connection(("127.0.0.1", port), timeout=300)
        self.reader = self.socket.makefile("rb")
        self.last = 0
        hello = self.receive()
        if hello.get("marionetteProtocol") != 3:
            raise RuntimeError(f"Marionette speaks {hello}, not protocol 3")

    def receive(self):
        length = b""
        while not length.endswith(b":"):
            byte = self.reader.read(1)
            if not byte:
                raise ConnectionError("Firefox closed the Marionette connection")
            length += byte
        return json.loads(self.reader.read(int(length[:-1])))

    def call(self, name, params):
        self.last += 1
        body = json.dumps([0, self.last, name, params]).encode()
        self.socket.sendall(str(len(body)).encode() + b":" + body)
        while True:
            kind, number, error, result = self.receive()
            if kind == 1 and number == self.last:
                return error, result

    # Selenium's command executor
    def execute(self, command, params):
        if command not in COMMANDS:
            raise NotImplementedError(f"{command} is not translated to Marionette")
        error, result = self.call(COMMANDS[command], parameters(command, params))
        if error:
            # As a W3C server's error body, which Selenium's error handler turns into its exception.
            return {"status": 500, "value": json.dumps({"value": error})}
        if isinstance(result, dict) and set(result) == {"value"}:
            return {"status": 0, "value": result["value"]}
        return {"status": 0, "value": result}

    def close(self):
        self.reader.close()
        self.socket.close()


class Firefox(WebDriver):
    """Firefox ESR, headless, in a profile folder of its own with prefs; Marionette on a port
    Firefox picks itself and writes into the profile."""

    def __init__(self, profile, prefs, width, height, environment, system_access=False):
        os.makedirs(profile, exist_ok=True)
        with open(os.path.join(profile, "user.js"), "w") as file:
            for name, value in {"marionette.port": 0, **prefs}.items():
                file.write(f"user_pref({json.dumps(name)}, {json.dumps(value)});\n")
        port_file = os.path.join(profile, "MarionetteActivePort")
        if os.path.exists(port_file):
            os.remove(port_file)
        arguments = [FIREFOX, "--headless", "--marionette", "--no-remote", "--profile", profile]
        if system_access:  # the chrome context: prefs set while the browser runs
            arguments.append("-remote-allow-system-access")
        environment = dict(environment, MOZ_HEADLESS_WIDTH=str(width), MOZ_HEADLESS_HEIGHT=str(height))
        self.log = open(os.path.join(profile, "firefox.log"), "wb")
        self.process = subprocess.Popen(arguments, env=environment, stdout=self.log, stderr=subprocess.STDOUT,
                                        start_new_session=True)
        end = time.monotonic() + 60
        while not (os.path.exists(port_file) and os.path.getsize(port_file)):
            if self.process.poll() is not None or time.monotonic() > end:
                self.stop()
                raise RuntimeError(f"Firefox gave no Marionette port (its log: {self.log.name})")
            time.sleep(0.05)
        with open(port_file) as file:
            connection = MarionetteConnection(int(file.read()))
        super().__init__(command_executor=connection)
        self._is_remote = False  # a file given to an <input> is a path on this machine

    def chrome_script(self, script, *args):
        """Runs script in the browser's own context (needs system_access)."""
        self.command_executor.call("Marionette:SetContext", {"value": "chrome"})
        try:
            error, result = self.command_executor.call("WebDriver:ExecuteScript", {"script": script, "args": list(args)})
        finally:
            self.command_executor.call("Marionette:SetContext", {"value": "content"})
        if error:
            raise RuntimeError(f"in Firefox's chrome context: {error['message']}")
        return result["value"]

    def quit(self):
        try:
            self.command_executor.call("Marionette:Quit", {})
        except (OSError, ConnectionError):
            pass
        self.command_executor.close()
        self.stop()

    def stop(self):
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            os.killpg(self.process.pid, signal.SIGKILL)  # its own session: the browser and its children
            self.process.wait()
        self.log.close()
